// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/dialup/pppd_dial_up.h"

#include "batch/dialup/pppd_exit_texts.h"
#include "batch/dialup/pppd_processes.h"
#include "os/atomic_file.h"
#include "os/child_process.h"
#include "os/temp_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace {

constexpr int kStopPollMs = 100;
// pppd ends its attempt on SIGTERM; one that does not within this is killed.
constexpr int kTermGraceMs = 3000;

} // namespace

bool RunningAsRoot() {
    return getuid() == 0;
}

PppdDialUp::PppdDialUp(PppdPaths paths, bool nameLinks)
    : paths_(std::move(paths)), nameLinks_(nameLinks) {}

std::vector<QString> PppdDialUp::PeerNames() const {
    QStringList files = QDir(paths_.peersDir).entryList(QDir::Files, QDir::Unsorted);
    std::sort(files.begin(), files.end());
    return {files.begin(), files.end()};
}

EntryListing PppdDialUp::EnumEntries(int room) {
    EntryListing listing;
    listing.names = PeerNames();
    listing.count = static_cast<int>(listing.names.size());
    if (listing.count > room) {
        listing.result = 1; // the caller asks again with room for count
        listing.names.clear();
    }
    return listing;
}

QString PppdDialUp::NextLinkName() {
    return QStringLiteral("orbivist-%1-%2").arg(QCoreApplication::applicationPid()).arg(++dials_);
}

std::uint32_t PppdDialUp::Dial(const DialParams& params, ConnectionHandle& handle) {
    handle = 0;
    // Only a name from the phone book: a typed "../something" must not name another file.
    const std::vector<QString> peers = PeerNames();
    if (std::find(peers.begin(), peers.end(), params.entry) == peers.end())
        return kPppdNoSuchPeer;

    PppdCall call{params.entry, params.user, {}, {}};
    if (nameLinks_)
        call.linkName = NextLinkName();
    // Created readable by its owner only, and removed when the dial returns; pppd has read
    // it long before it detaches. Named like every temporary file of ours, so that the next
    // start removes it should this run be killed outright.
    RemoveStaleTempFiles(QDir::tempPath());
    QTemporaryFile secrets(TempFileTemplate(QDir::tempPath()));
    if (!params.password.isEmpty()) {
        const QByteArray option = PppdPasswordOption(params.password);
        if (!secrets.open() || secrets.write(option) != option.size() || !secrets.flush())
            return kPppdCannotPassPassword;
        secrets.close();
        call.secretsFile = secrets.fileName();
    }

    ChildProcess pppd;
    if (!pppd.Start(paths_.pppd, PppdArguments(paths_.peersDir, call)))
        return kPppdCannotStart;
    const std::optional<ChildProcess::Exit> exit = pppd.Wait(stop_, kStopPollMs);
    if (!exit) {
        pppd.End(kTermGraceMs);
        return kPppdCancelled;
    }

    if (!call.linkName.isEmpty()) {
        const QString pidFile =
            QDir(paths_.runDir).filePath(QStringLiteral("ppp-%1.pid").arg(call.linkName));
        const std::optional<ProcessId> pid = PidFromFile(pidFile);
        if (pid && IsRunningAs(*pid, ProcessNameOf(paths_.pppd)))
            handle = *pid;
    }
    if (exit->crashed)
        return kPppdCrashed;
    return static_cast<std::uint32_t>(exit->code);
}

std::optional<QString> PppdDialUp::ErrorText(std::uint32_t code) {
    return PppdErrorText(code);
}

std::vector<ConnectionHandle> PppdDialUp::EnumConnections(int room) {
    std::vector<ConnectionHandle> pids =
        RunningFromPidFiles(paths_.runDir, ProcessNameOf(paths_.pppd));
    // A link another user (the system) keeps up cannot be ended from here; listed, it would
    // only be hung up in vain until the bound runs out.
    std::erase_if(pids, [](ConnectionHandle pid) { return kill(static_cast<pid_t>(pid), 0) != 0; });
    if (static_cast<int>(pids.size()) > room)
        pids.resize(static_cast<std::size_t>(std::max(room, 0)));
    return pids;
}

void PppdDialUp::HangUp(ConnectionHandle handle) {
    // Checked again: the listing may be old, and its pid reused by now.
    if (IsRunningAs(handle, ProcessNameOf(paths_.pppd)))
        kill(static_cast<pid_t>(handle), SIGTERM);
}
