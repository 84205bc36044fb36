// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a dial is put to pppd: its command line and the private options file that carries
// the password, which must never appear on a command line other users can read.
#include <QByteArray>
#include <QString>
#include <QStringList>

// pppd's own directory of peer files; only files read from it through `call` may hold
// privileged options (noauth, the modem's connect script) for a user who is not root.
inline constexpr char kPppdSystemPeersDir[] = "/etc/ppp/peers";

struct PppdCall {
    QString peer;        // a file name in the peers directory
    QString user;        // empty: whatever the peer file says
    QString linkName;    // empty: none (pppd takes it from root only)
    QString secretsFile; // empty: no password of ours
};

// Blocks until the link is up (pppd detaches) or has failed (pppd exits with the reason).
QStringList PppdArguments(const QString& peersDir, const PppdCall& call);

// The options-file line that gives pppd the password, every byte but letters and digits
// written as an octal escape so that no quote, space or '#' in it can change its meaning.
QByteArray PppdPasswordOption(const QString& password);
