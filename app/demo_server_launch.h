// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bundled demo tile server, started when the program needs it: the demo source on the
// loopback address it listens on by default, and nothing answering there. A server already
// running is used as it is; one started here ends with the object.
#include "os/child_process.h"
#include "sources/source_definition.h"

#include <QString>
#include <functional>

// Whether a view of this source and request prefix reads from the bundled server's default
// address, the only one the program may start a server for.
bool UsesDefaultDemoServer(const SourceDefinition& source, const QString& requestPrefix);

class DemoServerLaunch {
public:
    // A command waits for the server at once; the window waits later, once it is on screen.
    enum class Wait { UntilListening, Later };

    // Starts programDir/orbivist-tileserver when the source and prefix use the default demo
    // server and nothing listens on its port. The server reads its world picture before it
    // listens, a second or two: with Wait::Later the window is shown meanwhile and
    // AwaitListening is called before any tile is asked for. A server that cannot be started
    // leaves the tiles to say so, as before.
    DemoServerLaunch(const SourceDefinition& source, const QString& requestPrefix,
                     const QString& programDir, Wait wait = Wait::UntilListening);
    ~DemoServerLaunch();
    DemoServerLaunch(const DemoServerLaunch&) = delete;
    DemoServerLaunch& operator=(const DemoServerLaunch&) = delete;

    // Returns once the server started here answers (a few seconds at most), at once when it
    // has ended or none was started; whileWaiting is called between the looks. Only the first
    // call waits: nothing is asked of the server before it.
    void AwaitListening(const std::function<void()>& whileWaiting);

    // True when this object started the server (and will stop it).
    bool Started() const { return started_; }

private:
    ChildProcess server_;
    bool started_ = false;
    bool awaited_ = false;
};
