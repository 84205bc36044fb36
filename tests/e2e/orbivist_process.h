// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own executable of this build, run as a command by the end-to-end tests.
#include <QProcess>
#include <QStringList>

struct Outcome {
    int status = -1; // the exit status; -1 when it crashed or did not end within two minutes
    QString err;
};

// Starts the executable with arguments, its standard error kept apart.
QProcess* Start(QProcess& process, const QStringList& arguments);
// Waits for it to end.
Outcome Finish(QProcess& process);
// Both.
Outcome Orbivist(const QStringList& arguments);
