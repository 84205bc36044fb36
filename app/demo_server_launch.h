// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bundled demo tile server, started when the program needs it: the demo source on the
// loopback address it listens on by default, and nothing answering there. A server already
// running is used as it is; one started here ends with the object.
#include "os/child_process.h"
#include "sources/source_definition.h"

#include <QString>

// Whether a view of this source and request prefix reads from the bundled server's default
// address, the only one the program may start a server for.
bool UsesDefaultDemoServer(const SourceDefinition& source, const QString& requestPrefix);

class DemoServerLaunch {
public:
    // Starts programDir/orbivist-tileserver when the source and prefix use the default demo
    // server and nothing listens on its port, then waits until it answers (a few seconds at
    // most). A server that cannot be started leaves the tiles to say so, as before.
    DemoServerLaunch(const SourceDefinition& source, const QString& requestPrefix,
                     const QString& programDir);
    ~DemoServerLaunch();
    DemoServerLaunch(const DemoServerLaunch&) = delete;
    DemoServerLaunch& operator=(const DemoServerLaunch&) = delete;

    // True when this object started the server (and will stop it).
    bool Started() const { return started_; }

private:
    ChildProcess server_;
    bool started_ = false;
};
