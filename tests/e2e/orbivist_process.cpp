// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/orbivist_process.h"

QProcess* Start(QProcess& process, const QStringList& arguments) {
    process.setProgram(QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist"));
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    return &process;
}

Outcome Finish(QProcess& process) {
    Outcome run;
    if (!process.waitForFinished(120000))
        process.kill();
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

Outcome Orbivist(const QStringList& arguments) {
    QProcess process;
    Start(process, arguments);
    return Finish(process);
}
