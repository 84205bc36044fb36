// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/available_memory.h"

#include "batch/jobs/stitch_size.h"
#include "os/integer_text.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <sys/resource.h>

namespace {

using Bytes = std::optional<std::uint64_t>;

QByteArray ReadSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096);
}

Bytes Number(const QByteArray& text) {
    return ParseInteger<std::uint64_t>(text.trimmed(), PlusSign::Allowed);
}

Bytes Least(Bytes a, Bytes b) {
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

// "VmSize:   123456 kB" of /proc/self/status, in bytes.
Bytes VmSize(const QByteArray& status) {
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith("VmSize:")) {
            const QByteArray kb = line.mid(7).trimmed().split(' ').front();
            const Bytes value = Number(kb);
            return value && *value <= UINT64_MAX / 1024 ? Bytes(*value * 1024) : std::nullopt;
        }
    }
    return std::nullopt;
}

Bytes AddressSpaceHeadroom(const QString& selfStatus) {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    QFile status(selfStatus);
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Bytes used = VmSize(status.readAll());
    if (!used)
        return std::nullopt;
    return limit.rlim_cur > *used ? limit.rlim_cur - *used : 0;
}

} // namespace

std::optional<std::uint64_t> CgroupHeadroom(const QString& cgroupRoot,
                                            const QByteArray& selfCgroup) {
    // The v2 line reads "0::/path/of/the/group".
    QString group;
    bool found = false;
    for (const QByteArray& line : selfCgroup.split('\n')) {
        if (line.startsWith("0::")) {
            group = QString::fromUtf8(line.mid(3)).trimmed();
            found = true;
        }
    }
    if (!found)
        return std::nullopt;
    Bytes headroom;
    // From the process's own group up to the root: any of them may hold the limit.
    for (QString path = QDir::cleanPath(QLatin1Char('/') + group);;) {
        const QString dir = cgroupRoot + (path == QLatin1String("/") ? QString() : path);
        const Bytes max = Number(ReadSmallFile(dir + QStringLiteral("/memory.max")));
        const Bytes current = Number(ReadSmallFile(dir + QStringLiteral("/memory.current")));
        if (max && current) // "max" means no limit here and reads as no number
            headroom = Least(headroom, *max > *current ? *max - *current : 0);
        if (path == QLatin1String("/") || path.isEmpty())
            break;
        path = path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1));
    }
    return headroom;
}

std::optional<std::uint64_t> AvailableMemory(const MemorySources& sources) {
    Bytes available = ReadMemAvailable(sources.meminfo);
    available =
        Least(available, CgroupHeadroom(sources.cgroupRoot, ReadSmallFile(sources.selfCgroup)));
    if (sources.addressSpaceLimit)
        available = Least(available, AddressSpaceHeadroom(sources.selfStatus));
    return available;
}
