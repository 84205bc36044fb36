// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/dialup/pppd_processes.h"

#include "os/integer_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr qint64 kPidFileRoom = 64;
constexpr int kCommLength = 15;

} // namespace

std::optional<ProcessId> PidFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray first = file.read(kPidFileRoom).split('\n').front().trimmed();
    const std::optional<ProcessId> pid = ParseInteger<ProcessId>(first, PlusSign::Allowed);
    if (!pid || *pid <= 0)
        return std::nullopt;
    return pid;
}

QByteArray ProcessNameOf(const QString& executable) {
    return QFile::encodeName(QFileInfo(executable).fileName()).left(kCommLength);
}

bool IsRunningAs(ProcessId pid, const QByteArray& name) {
    if (pid <= 0)
        return false;
    // "pid (name) state ...": the name may itself hold spaces and parentheses.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open || close + 2 >= line.size())
        return false;
    const char state = line[close + 2];
    if (state == 'Z' || state == 'X' || state == 'x')
        return false;
    return line.mid(open + 1, close - open - 1) == name;
}

std::vector<ProcessId> RunningFromPidFiles(const QString& runDir, const QByteArray& name) {
    const QDir dir(runDir);
    QStringList files = dir.entryList({QStringLiteral("ppp*.pid")}, QDir::Files, QDir::Unsorted);
    std::sort(files.begin(), files.end());
    std::vector<ProcessId> pids;
    for (const QString& file : files) {
        const std::optional<ProcessId> pid = PidFromFile(dir.filePath(file));
        if (pid && IsRunningAs(*pid, name) &&
            std::find(pids.begin(), pids.end(), *pid) == pids.end())
            pids.push_back(*pid);
    }
    return pids;
}
