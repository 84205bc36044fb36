// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much memory this process can still take: a container or a service's memory limit, or
// an address-space limit, counts as much as what the machine as a whole has free. Otherwise
// a picture the machine could hold would be started and then killed half-way for it.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// Where the figures are read; tests point these at a scratch tree.
struct MemorySources {
    QString meminfo = QStringLiteral("/proc/meminfo");
    QString selfCgroup = QStringLiteral("/proc/self/cgroup");
    QString selfStatus = QStringLiteral("/proc/self/status");
    QString cgroupRoot = QStringLiteral("/sys/fs/cgroup");
    bool addressSpaceLimit = true; // take RLIMIT_AS into account
};

// The room left in the process's cgroup (v2) and every cgroup above it: the least of
// memory.max − memory.current, 0 where the usage is already at its limit. Nothing when no
// cgroup on the way has a limit. selfCgroup is the text of /proc/self/cgroup.
std::optional<std::uint64_t> CgroupHeadroom(const QString& cgroupRoot,
                                            const QByteArray& selfCgroup);

// The least of MemAvailable, the cgroup headroom and the room under RLIMIT_AS (its soft
// limit minus the VmSize of selfStatus); nothing when none of them is known.
std::optional<std::uint64_t> AvailableMemory(const MemorySources& sources = {});
