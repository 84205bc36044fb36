// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replies as the server sends them: HTTP/1.0, always with Content-Length, then close.
#include <string>

namespace tileserver {

struct HttpReply {
    int status = 200;
    std::string reason = "OK";
    std::string contentType; // no Content-Type line when empty
    std::string location;    // no Location line when empty
    std::string body;
};

// A short plain-text reply such as a 404 for an unknown path.
HttpReply TextReply(int status, std::string reason, std::string text);

// The bytes on the wire: status line, headers, blank line, body.
std::string SerializeReply(const HttpReply& reply);

} // namespace tileserver
