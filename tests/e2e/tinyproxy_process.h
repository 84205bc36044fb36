// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real tinyproxy on loopback, with Basic authentication, for one test.
#include "tests/support/temp_dir.h"

#include <QProcess>

// A port nobody listens on right now: bound to 0, read back, released.
int FreePort();

// Waits up to 10 s for a started server to listen on port; false if it ended or never did.
bool WaitUntilListening(QProcess& server, int port);
// Ends a server with SIGTERM, or SIGKILL when it does not end within 10 s.
void EndServer(QProcess& server);

class Tinyproxy {
public:
    // Listens on 127.0.0.1:port and lets only user/pass through; logs into dir.
    Tinyproxy(const TempDir& dir, int port);
    ~Tinyproxy();
    Tinyproxy(const Tinyproxy&) = delete;
    Tinyproxy& operator=(const Tinyproxy&) = delete;
    bool Ready() const { return ready_; }

private:
    QProcess process_;
    bool ready_ = false;
};
