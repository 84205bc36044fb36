// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dial-up service on Linux: Debian's pppd. The phone book is pppd's directory of peer
// files, a dial runs pppd on one of them until the link is up, and a connection is the
// pppd process that keeps it, found through the pid files pppd writes.
#include "batch/dialup/dial_up_service.h"
#include "batch/dialup/pppd_arguments.h"

#include <QString>
#include <functional>

// Where pppd and its files are; tests point these at a scratch directory and a stand-in.
struct PppdPaths {
    QString peersDir = QString::fromLatin1(kPppdSystemPeersDir);
    QString runDir = QStringLiteral("/run");
    QString pppd = QStringLiteral("/usr/sbin/pppd");
};

// pppd accepts a link name only from root.
bool RunningAsRoot();

class PppdDialUp : public DialUpService {
public:
    // nameLinks: give every dial a link name of our own, so that the pid file of a link
    // pppd left behind after a failure can be found and the link hung up.
    explicit PppdDialUp(PppdPaths paths = {}, bool nameLinks = RunningAsRoot());

    // The file names of the peers directory, sorted.
    EntryListing EnumEntries(int room) override;
    // pppd's exit status, or one of the kPppd... codes of pppd_exit_texts.h.
    std::uint32_t Dial(const DialParams& params, ConnectionHandle& handle) override;
    std::optional<QString> ErrorText(std::uint32_t code) override;
    // The pids of the running pppd processes behind the run directory's ppp*.pid files that
    // this user may end.
    std::vector<ConnectionHandle> EnumConnections(int room) override;
    // SIGTERM, which makes pppd end the link and exit.
    void HangUp(ConnectionHandle handle) override;

    // Asked about every 100 ms while pppd dials; true ends the dial (pppd is terminated and
    // Dial returns kPppdCancelled).
    void SetStopCheck(std::function<bool()> stop) { stop_ = std::move(stop); }

private:
    std::vector<QString> PeerNames() const;
    QString NextLinkName();

    PppdPaths paths_;
    bool nameLinks_;
    int dials_ = 0;
    std::function<bool()> stop_;
};
