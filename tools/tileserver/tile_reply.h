// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reply for one tile request, spoiled on purpose when the fault plan says so.
#include "tools/tileserver/fault_plan.h"
#include "tools/tileserver/http_reply.h"

#include <optional>
#include <string>

namespace tileserver {

// jpeg is the tile's complete JPEG file; selfUrl the absolute URL of the same tile, for
// the redirect. Nothing means: close the connection without a reply.
std::optional<HttpReply> TileReply(std::string jpeg, Fault fault, const std::string& selfUrl);

} // namespace tileserver
