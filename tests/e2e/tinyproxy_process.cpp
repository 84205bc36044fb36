// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/tinyproxy_process.h"

#include "tests/e2e/demo_server_process.h"
#include "tests/support/scripted_tcp_server.h"

#include <QElapsedTimer>
#include <QThread>

int FreePort() {
    return ScriptedTcpServer({}).port();
}

bool WaitUntilListening(QProcess& server, int port) {
    QElapsedTimer clock;
    clock.start();
    while (server.waitForStarted(5000) && server.state() == QProcess::Running &&
           !ConnectLoopback(port).Valid() && clock.elapsed() < 10000)
        QThread::msleep(50);
    return server.state() == QProcess::Running && ConnectLoopback(port).Valid();
}

void EndServer(QProcess& server) {
    server.terminate();
    if (!server.waitForFinished(10000))
        server.kill();
    server.waitForFinished(5000);
}

Tinyproxy::Tinyproxy(const TempDir& dir, int port) {
    const QByteArray config = "Port " + QByteArray::number(port) +
                              "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth user pass\n"
                              "Timeout 30\nMaxClients 8\nLogLevel Info\n";
    dir.write("tinyproxy.conf", config);
    process_.setStandardOutputFile(dir.file("tinyproxy.log"));
    process_.setStandardErrorFile(dir.file("tinyproxy.log"), QIODevice::Append);
    process_.start(QStringLiteral("tinyproxy"), {"-d", "-c", dir.file("tinyproxy.conf")});
    ready_ = WaitUntilListening(process_, port);
}

Tinyproxy::~Tinyproxy() {
    EndServer(process_);
}
