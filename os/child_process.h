// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program started by this one, begun clean: none of our blocked signals or ignored signal
// actions (a pppd that inherited blocked SIGTERM could never be hung up), none of the secrets
// we were handed through the environment, standard streams on /dev/null. The process is
// waited for on every path: one still running when the object goes is killed.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <sys/types.h>

// The variable a batch command reads the dial-up password from.
inline constexpr char kDialPasswordVariable[] = "ORBIVIST_DIAL_PASSWORD";

class ChildProcess {
public:
    struct Exit {
        bool crashed = false; // ended by a signal
        int code = 0;         // the exit status otherwise
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the program could not be started.
    bool Start(const QString& program, const QStringList& arguments);
    // Waits for the end, asking stop about every pollMs; nothing when stop said yes first (the
    // process still runs then).
    std::optional<Exit> Wait(const std::function<bool()>& stop, int pollMs);
    // SIGTERM, then SIGKILL if it has not ended within graceMs; waits for it either way.
    void End(int graceMs);

private:
    pid_t pid_ = -1;
};
