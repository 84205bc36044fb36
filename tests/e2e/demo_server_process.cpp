// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/demo_server_process.h"

#include "tools/tileserver/jpeg_encoder.h"

#include <QFile>
#include <QRegularExpression>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

QString WriteQuadrantWorld(const TempDir& dir) {
    tileserver::RgbImage world(64, 32);
    for (int y = 0; y < world.height; ++y)
        for (int x = 0; x < world.width; ++x) {
            const bool north = y < 16, west = x < 32;
            std::uint8_t* p = world.Pixel(x, y);
            p[0] = west ? 255 : 0;
            p[1] = north != west ? 255 : 0;
            p[2] = !north && !west ? 255 : 0;
        }
    const std::vector<std::uint8_t> jpeg = tileserver::EncodeJpeg(world, 95);
    dir.write("world.jpg", QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                                      static_cast<qsizetype>(jpeg.size())));
    return dir.file("world.jpg");
}

DemoServerProcess::DemoServerProcess(const QString& imagePath, const QStringList& extraArgs,
                                     const QString& logPath)
    : logPath_(logPath) {
    process_.setStandardErrorFile(logPath);
    process_.start(QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist-tileserver"),
                   QStringList{"--image", imagePath, "--port", "0"} + extraArgs);
    if (!process_.waitForStarted(10000))
        return;
    while (!process_.canReadLine() && process_.waitForReadyRead(20000)) {
    }
    static const QRegularExpression ready(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"));
    const QRegularExpressionMatch match =
        ready.match(QString::fromUtf8(process_.readLine()).trimmed());
    if (match.hasMatch())
        port_ = match.captured(1).toInt();
}

DemoServerProcess::~DemoServerProcess() {
    if (process_.state() != QProcess::NotRunning)
        Stop();
}

QString DemoServerProcess::TilePrefix() const {
    return QStringLiteral("http://127.0.0.1:%1/kh?v=5&n=404&t=t").arg(port_);
}

int DemoServerProcess::Stop() {
    if (process_.state() != QProcess::NotRunning)
        process_.terminate();
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(20000)) {
        process_.kill();
        process_.waitForFinished(5000);
        return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QStringList DemoServerProcess::LogLines() const {
    QFile log(logPath_);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

std::vector<std::string> DemoServerProcess::InjectedFaults() const {
    static const QRegularExpression fault(QStringLiteral(" fault=(\\S+)$"));
    std::vector<std::string> faults;
    for (const QString& line : LogLines()) {
        const QRegularExpressionMatch match = fault.match(line);
        if (match.hasMatch())
            faults.push_back(match.captured(1).toStdString());
    }
    return faults;
}

std::string RawReply::Header(const std::string& name) const {
    const std::string key = "\r\n" + name + ": ";
    const std::size_t at = head.find(key);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + key.size();
    return head.substr(start, head.find("\r\n", start) - start);
}

UniqueFd ConnectLoopback(int port) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        socket.Reset();
    return socket;
}

RawReply RawGet(int port, const std::string& target) {
    RawReply reply;
    const UniqueFd socket = ConnectLoopback(port);
    if (!socket.Valid()) {
        ADD_FAILURE() << "cannot connect to port " << port;
        return reply;
    }
    const timeval limit{20, 0};
    ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const std::string request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    if (::send(socket.Get(), request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size()))
        return reply;
    std::string all;
    char buffer[16384];
    ssize_t got = 0;
    while ((got = ::recv(socket.Get(), buffer, sizeof buffer, 0)) > 0)
        all.append(buffer, static_cast<std::size_t>(got));
    reply.answered = !all.empty();
    const std::size_t end = all.find("\r\n\r\n");
    if (end == std::string::npos)
        return reply;
    reply.head = all.substr(0, end + 2);
    reply.body = all.substr(end + 4);
    if (reply.head.starts_with("HTTP/1.0 "))
        reply.status = std::stoi(reply.head.substr(9, 3));
    return reply;
}
