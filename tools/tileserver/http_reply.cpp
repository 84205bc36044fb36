// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/http_reply.h"

namespace tileserver {

HttpReply TextReply(int status, std::string reason, std::string text) {
    HttpReply reply;
    reply.status = status;
    reply.reason = std::move(reason);
    reply.contentType = "text/plain";
    reply.body = std::move(text);
    return reply;
}

std::string SerializeReply(const HttpReply& reply) {
    std::string out = "HTTP/1.0 " + std::to_string(reply.status) + ' ' + reply.reason + "\r\n";
    if (!reply.contentType.empty())
        out += "Content-Type: " + reply.contentType + "\r\n";
    out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    if (!reply.location.empty())
        out += "Location: " + reply.location + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += reply.body;
    return out;
}

} // namespace tileserver
