#include "tests/e2e/tinyproxy_process.h"

#include "tests/e2e/demo_server_process.h"

#include <QElapsedTimer>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

int FreePort() {
    const tileserver::UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

Tinyproxy::Tinyproxy(const TempDir& dir, int port) {
    const QByteArray config = "Port " + QByteArray::number(port) +
                              "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth user pass\n"
                              "Timeout 30\nMaxClients 8\nLogLevel Info\n";
    dir.write("tinyproxy.conf", config);
    process_.setStandardOutputFile(dir.file("tinyproxy.log"));
    process_.setStandardErrorFile(dir.file("tinyproxy.log"), QIODevice::Append);
    process_.start(QStringLiteral("tinyproxy"), {"-d", "-c", dir.file("tinyproxy.conf")});
    QElapsedTimer clock;
    clock.start();
    while (process_.waitForStarted(5000) && process_.state() == QProcess::Running &&
           !ConnectLoopback(port).Valid() && clock.elapsed() < 10000)
        QThread::msleep(50);
    ready_ = process_.state() == QProcess::Running && ConnectLoopback(port).Valid();
}

Tinyproxy::~Tinyproxy() {
    process_.terminate();
    if (!process_.waitForFinished(10000))
        process_.kill();
    process_.waitForFinished(5000);
}
