// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/tile_reply.h"

namespace tileserver {

namespace {

bool EndsWithJpegEnd(const std::string& bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[bytes.size() - 2]) == 0xFF &&
           static_cast<unsigned char>(bytes.back()) == 0xD9;
}

} // namespace

std::optional<HttpReply> TileReply(std::string jpeg, Fault fault, const std::string& selfUrl) {
    HttpReply reply;
    reply.contentType = "image/jpeg";
    switch (fault) {
    case Fault::None:
        reply.body = std::move(jpeg);
        break;
    case Fault::ServerError:
        return TextReply(500, "Internal Server Error", "injected server error\n");
    case Fault::NotFound:
        return TextReply(404, "Not Found", "no such tile\n");
    case Fault::EmptyBody:
        break;
    case Fault::CutBody:
        // Half a tile is still far longer than the few bytes a client takes for an empty
        // reply, so the client sees a damaged picture, not a missing one. The cut must not
        // happen to land right after an FF D9 pair, or the body would look complete.
        jpeg.resize(jpeg.size() / 2);
        while (EndsWithJpegEnd(jpeg))
            jpeg.pop_back();
        reply.body = std::move(jpeg);
        break;
    case Fault::DroppedConnection:
        return std::nullopt;
    case Fault::Redirect:
        reply = TextReply(302, "Found", "moved to the same place\n");
        reply.location = selfUrl;
        break;
    }
    return reply;
}

} // namespace tileserver
