// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/demo_server_launch.h"

#include "net/tcp_socket.h"
#include "tiles/default_source.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <unistd.h>

namespace {

const QString kLoopback = QStringLiteral("127.0.0.1");
// The server decodes its world picture before it listens: a second or two, more under a
// debugger or a sanitizer.
constexpr qint64 kStartupMs = 15000;
constexpr int kPollMs = 20;

bool Listening() {
    TcpSocket probe;
    const SocketWait wait{std::chrono::milliseconds(500), SocketWait::Clock::time_point::max(),
                          nullptr, nullptr};
    return !probe.Connect(kLoopback, kDefaultTileServerPort, wait).has_value();
}

} // namespace

bool UsesDefaultDemoServer(const SourceDefinition& source, const QString& requestPrefix) {
    return source.kind == SourceKind::Demo &&
           requestPrefix.startsWith(
               QStringLiteral("http://%1:%2/").arg(kLoopback).arg(kDefaultTileServerPort));
}

DemoServerLaunch::DemoServerLaunch(const SourceDefinition& source, const QString& requestPrefix,
                                   const QString& programDir, Wait wait) {
    if (!UsesDefaultDemoServer(source, requestPrefix) || Listening())
        return;
    const QString program = QDir(programDir).filePath(QStringLiteral("orbivist-tileserver"));
    // The server stops by itself should this process end without stopping it (a SIGKILL).
    if (!QFileInfo(program).isExecutable() ||
        !server_.Start(program, {QStringLiteral("--parent"), QString::number(getpid())}))
        return;
    started_ = true;
    if (wait == Wait::UntilListening)
        AwaitListening({});
}

void DemoServerLaunch::AwaitListening(const std::function<void()>& whileWaiting) {
    if (!started_ || awaited_)
        return;
    awaited_ = true;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kStartupMs && !Listening()) {
        // A server that ended (its port taken by another program, its picture missing) is
        // not waited for.
        if (server_.Wait([] { return true; }, 0))
            return;
        if (whileWaiting)
            whileWaiting();
        QThread::msleep(kPollMs);
    }
}

DemoServerLaunch::~DemoServerLaunch() {
    server_.End(2000);
}
