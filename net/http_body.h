// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a reply body the way its head announces it: a Content-Length, chunked transfer
// coding, or everything up to the close of the connection.
#include "net/http_reply_head.h"
#include "net/http_reply_reader.h"

#include <QByteArray>
#include <optional>

// Replaces body by the reply body. No body larger than limit is accepted, and none is
// allocated for: an announced length beyond it fails before anything is read.
std::optional<QString> ReadReplyBody(HttpReplyReader& reader, const HttpReplyHead& head,
                                     qint64 limit, QByteArray& body);
