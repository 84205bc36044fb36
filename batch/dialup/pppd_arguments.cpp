// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/dialup/pppd_arguments.h"

#include <QDir>

namespace {

bool IsSystemPeersDir(const QString& dir) {
    const QString system = QString::fromLatin1(kPppdSystemPeersDir);
    return QDir::cleanPath(dir) == system ||
           (QDir(dir).exists() && QDir(dir).canonicalPath() == QDir(system).canonicalPath());
}

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

QStringList PppdArguments(const QString& peersDir, const PppdCall& call) {
    QStringList args;
    if (IsSystemPeersDir(peersDir))
        args << QStringLiteral("call") << call.peer;
    else
        args << QStringLiteral("file") << QDir(peersDir).filePath(call.peer);
    args << QStringLiteral("updetach");
    if (!call.user.isEmpty())
        args << QStringLiteral("user") << call.user;
    if (!call.linkName.isEmpty())
        args << QStringLiteral("linkname") << call.linkName;
    if (!call.secretsFile.isEmpty())
        args << QStringLiteral("file") << call.secretsFile;
    return args;
}

QByteArray PppdPasswordOption(const QString& password) {
    QByteArray line("password ");
    for (const char c : password.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            continue; // pppd's words end at a zero byte; it cannot be passed
        if (IsAsciiAlnum(c)) {
            line += c;
        } else {
            line += '\\';
            line += static_cast<char>('0' + (byte >> 6));
            line += static_cast<char>('0' + ((byte >> 3) & 7));
            line += static_cast<char>('0' + (byte & 7));
        }
    }
    line += '\n';
    return line;
}
