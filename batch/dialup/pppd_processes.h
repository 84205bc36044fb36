// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pppd processes behind the pid files pppd leaves in its run directory. A pid file can
// outlive its process (pppd killed outright), and its number can be reused by some other
// program, so a pid counts only while it names a live process of pppd's own name.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

using ProcessId = std::int64_t;

// The number on the first line of a pid file.
std::optional<ProcessId> PidFromFile(const QString& path);

// The name the system gives a process started from this executable (at most 15 bytes).
QByteArray ProcessNameOf(const QString& executable);

// True while pid is a process named name that has not ended (a zombie has).
bool IsRunningAs(ProcessId pid, const QByteArray& name);

// The running processes named name behind the ppp*.pid files of runDir, in the order of
// the file names, each once.
std::vector<ProcessId> RunningFromPidFiles(const QString& runDir, const QByteArray& name);
