// SPDX-License-Identifier: GPL-3.0-or-later
// The server binary itself, over real sockets.
#include "tests/e2e/demo_server_process.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <sys/socket.h>

namespace {

QImage DecodeBody(const RawReply& reply) {
    return QImage::fromData(reinterpret_cast<const uchar*>(reply.body.data()),
                            static_cast<int>(reply.body.size()), "JPEG");
}

bool NearColour(QColor got, QColor want) {
    return std::abs(got.red() - want.red()) < 24 && std::abs(got.green() - want.green()) < 24 &&
           std::abs(got.blue() - want.blue()) < 24;
}

const std::string kTarget = "/kh?v=5&n=404&t=";

// Reads one reply by its Content-Length, exactly as a client that wants to reuse the
// connection would, then tells whether the server's close is already waiting.
bool CloseArrivesWithReply(int port, const std::string& target) {
    const UniqueFd socket = ConnectLoopback(port);
    if (!socket.Valid())
        return false;
    const std::string request = "GET " + target + " HTTP/1.0\r\n\r\n";
    ::send(socket.Get(), request.data(), request.size(), MSG_NOSIGNAL);
    std::string got;
    std::size_t expected = std::string::npos;
    char c = 0;
    while (got.size() != expected && ::recv(socket.Get(), &c, 1, 0) == 1) {
        got += c;
        const std::size_t end = got.find("\r\n\r\n");
        const std::size_t length = got.find("Content-Length: ");
        if (expected == std::string::npos && end != std::string::npos && length < end)
            expected = end + 4 + std::stoul(got.substr(length + 16));
    }
    pollfd fd{socket.Get(), POLLIN, 0};
    return got.size() == expected && ::poll(&fd, 1, 0) == 1 && ::recv(socket.Get(), &c, 1, 0) == 0;
}

} // namespace

TEST(DemoServer, ServesJpegTilesAndStopsCleanlyOnSigterm) {
    TempDir dir;
    DemoServerProcess server(WriteQuadrantWorld(dir), {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);

    for (const auto& [key, colour] : std::map<std::string, QColor>{
             {"tq", Qt::red}, {"tr", Qt::green}, {"ts", Qt::blue}, {"tt", Qt::yellow}}) {
        const RawReply reply = RawGet(server.Port(), kTarget + key);
        ASSERT_EQ(reply.status, 200) << key;
        EXPECT_TRUE(reply.head.starts_with("HTTP/1.0 200 "));
        EXPECT_EQ(reply.Header("Content-Type"), "image/jpeg");
        EXPECT_EQ(reply.Header("Content-Length"), std::to_string(reply.body.size()));
        ASSERT_TRUE(reply.body.starts_with("\xFF\xD8") && reply.body.ends_with("\xFF\xD9"));
        const QImage tile = DecodeBody(reply);
        ASSERT_EQ(tile.size(), QSize(256, 256)) << key;
        EXPECT_TRUE(NearColour(tile.pixelColor(128, 128), colour)) << key;
    }

    // A client that goes away without asking must not stop the next one being served.
    ConnectLoopback(server.Port());
    for (const std::string& target : std::vector<std::string>{
             "/", "/kh?v=5", kTarget + "tx", kTarget + "q", "/maps" + kTarget + "tq"}) {
        const RawReply reply = RawGet(server.Port(), target);
        EXPECT_EQ(reply.status, 404) << target;
        EXPECT_FALSE(reply.body.empty()) << target;
    }
    EXPECT_EQ(RawGet(server.Port(), kTarget + "tq").status, 200);

    // Clients that keep a connection after an error reply check for its close right after
    // reading; a close that comes a moment later makes their next request fail.
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(CloseArrivesWithReply(server.Port(), "/missing"));
        EXPECT_TRUE(CloseArrivesWithReply(server.Port(), kTarget + "tsq"));
    }

    EXPECT_EQ(server.Stop(), 0);
    const QStringList log = server.LogLines();
    EXPECT_EQ(log.filter(" -> ").size(), 18) << log.join('\n').toStdString();
    EXPECT_TRUE(log.filter("GET /kh?v=5&n=404&t=ts -> 200").size() == 1);
}

TEST(DemoServer, InjectedFaultsAreOnTheWireAsLoggedAndRepeatWithTheSeed) {
    TempDir dir;
    const QString world = WriteQuadrantWorld(dir);
    const QStringList faulty{"--fault-rate", "1", "--seed", "5"};
    DemoServerProcess server(world, faulty, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    const std::string target = kTarget + "tqs";
    std::vector<RawReply> replies;
    for (int i = 0; i < 40; ++i)
        replies.push_back(RawGet(server.Port(), target));
    ASSERT_EQ(server.Stop(), 0);
    const std::vector<std::string> faults = server.InjectedFaults();
    ASSERT_EQ(faults.size(), replies.size());

    std::map<std::string, int> seen;
    const std::string self = "http://127.0.0.1:" + std::to_string(server.Port()) + target;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const RawReply& r = replies[i];
        const std::string& fault = faults[i];
        ++seen[fault];
        SCOPED_TRACE("request " + std::to_string(i) + " fault=" + fault);
        EXPECT_EQ(r.answered, fault != "drop");
        if (fault == "drop")
            continue;
        EXPECT_EQ(r.Header("Content-Length"), std::to_string(r.body.size()));
        const int status = fault == "500"        ? 500
                           : fault == "404"      ? 404
                           : fault == "redirect" ? 302
                                                 : 200;
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.body.empty(), fault == "empty");
        EXPECT_EQ(r.Header("Location"), fault == "redirect" ? self : "");
        if (fault == "cut") {
            EXPECT_GT(r.body.size(), 4u);
            EXPECT_TRUE(r.body.starts_with("\xFF\xD8") && !r.body.ends_with("\xFF\xD9"));
        }
    }
    EXPECT_EQ(seen.size(), 6u);

    // The same seed and the same requests give the same faults in a new run.
    DemoServerProcess again(world, faulty, dir.file("log2"));
    ASSERT_NE(again.Port(), 0);
    for (int i = 0; i < 40; ++i)
        RawGet(again.Port(), target);
    ASSERT_EQ(again.Stop(), 0);
    EXPECT_EQ(again.InjectedFaults(), faults);
}

TEST(DemoServer, RefusesToStartWithoutAUsableWorldPicture) {
    TempDir dir;
    dir.write("not-a-picture.jpg", QByteArray("\xFF\xD8 this is no JPEG at all \xFF\xD9"));
    for (const QString& image : {dir.file("missing.jpg"), dir.file("not-a-picture.jpg")}) {
        DemoServerProcess server(image, {}, dir.file("log"));
        EXPECT_EQ(server.Port(), 0);
        // Our own message and exit code, not libjpeg's default of ending the process.
        EXPECT_EQ(server.Stop(), 1) << image.toStdString();
        EXPECT_TRUE(server.LogLines().join('\n').contains("world picture"));
    }
}

// Concurrent replies and the level/column/row route's pixels are checked through nginx with
// the template sources; here only what the route refuses.
TEST(DemoServer, AnswersOnlyWellFormedLevelColumnRowPathsInsideTheGrid) {
    TempDir dir;
    DemoServerProcess server(WriteQuadrantWorld(dir), {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    for (const char* target : {"/0/0/0.jpg", "/20/1048575/0.png"})
        EXPECT_EQ(RawGet(server.Port(), target).status, 200) << target;
    for (const char* target : {"/21/0/0.jpg", "/2/4/0.jpg", "/2/0/4.png", "/2/0/0.gif",
                               "/2/0/0/0.jpg", "/2/-1/0.jpg", "/2/0/.jpg", "/2/+1/0.jpg"})
        EXPECT_EQ(RawGet(server.Port(), target).status, 404) << target;
}

TEST(DemoServer, StopsWhenTheProcessThatStartedItEnds) {
    TempDir dir;
    const QString world = WriteQuadrantWorld(dir);
    // A shell starts the server as its child, says its pid and ends a moment later, as a
    // viewer killed outright would.
    QProcess shell;
    shell.start("sh", {"-c",
                       "\"$0\" --image \"$1\" --port 0 --parent $$ >/dev/null 2>&1 & "
                       "echo $!; sleep 1",
                       ORBIVIST_BUILD_DIR "/orbivist-tileserver", world});
    ASSERT_TRUE(shell.waitForFinished(10000));
    const int pid = shell.readAllStandardOutput().trimmed().toInt();
    ASSERT_GT(pid, 0);
    const auto ended = [pid] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        // Gone, or a zombie its new parent has yet to reap.
        return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
    };
    for (int i = 0; i < 100 && !ended(); ++i)
        QThread::msleep(100);
    EXPECT_TRUE(ended());
}
