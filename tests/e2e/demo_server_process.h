// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real orbivist-tileserver binary, run for one test, and a bare-socket HTTP client
// that sees exactly what the server put on the wire.
#include "os/unique_fd.h"
#include "tests/support/temp_dir.h"

#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

// Writes a small equirectangular JPEG world into dir: north-west red, north-east green,
// south-east blue, south-west yellow. Returns its path.
QString WriteQuadrantWorld(const TempDir& dir);

class DemoServerProcess {
public:
    // Starts the server with --image imagePath --port 0 plus extraArgs, its log going to
    // logPath, and waits for its "listening on" line. Port() stays 0 if none came.
    DemoServerProcess(const QString& imagePath, const QStringList& extraArgs,
                      const QString& logPath);
    ~DemoServerProcess();
    DemoServerProcess(const DemoServerProcess&) = delete;
    DemoServerProcess& operator=(const DemoServerProcess&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:PORT/kh?v=5&n=404&t=t", ready for the quadrant letters.
    QString TilePrefix() const;
    // Sends SIGTERM if it still runs and waits; the exit code, or -1 when it crashed or
    // did not stop.
    int Stop();
    // The fault words ("cut", "drop", ...) of the log, in request order.
    std::vector<std::string> InjectedFaults() const;
    QStringList LogLines() const;

private:
    QProcess process_;
    QString logPath_;
    int port_ = 0;
};

struct RawReply {
    bool answered = false; // any bytes at all came back
    int status = 0;
    std::string head; // status line and headers
    std::string body;
    std::string Header(const std::string& name) const; // "" when absent
};

// A TCP connection to 127.0.0.1:port; not Valid() when refused.
UniqueFd ConnectLoopback(int port);

// GET target from 127.0.0.1:port with a minimal HTTP/1.0 request, reading until close.
RawReply RawGet(int port, const std::string& target);
