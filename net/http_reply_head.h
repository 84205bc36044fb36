// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status line and header lines of a reply.
#include "net/http_reply_reader.h"

#include <QList>
#include <QString>
#include <optional>

struct HttpHeader {
    QString name;
    QString value; // leading blanks removed, continuation lines joined with one blank
};

struct HttpReplyHead {
    int statusCode = 0;
    QString statusText; // the status line without its first word
    QList<HttpHeader> headers;

    // The value of the first header of that name (compared without regard to case), or
    // nothing when there is none.
    std::optional<QString> Value(QStringView name) const;
};

// Reads the status line and the header lines up to the empty line. Fails when the connection
// closes first, when the status code is not an integer, or when the head is unreasonably long.
std::optional<QString> ReadReplyHead(HttpReplyReader& reader, HttpReplyHead& head);
