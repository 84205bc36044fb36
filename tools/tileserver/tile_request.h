// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the requests the server answers: GET /kh?...&t=<tile key> and GET /z/x/y.jpg|png.
#include "tools/tileserver/tile_key.h"

#include <optional>
#include <string_view>

namespace tileserver {

struct RequestLine {
    std::string_view method;
    std::string_view target;
    std::string_view version;
};

// Splits the first line of a request head (ended by LF, a CR before it dropped) into its
// three blank-separated words; nothing when it does not have exactly three.
std::optional<RequestLine> ParseRequestLine(std::string_view head);

// The target as path and query, beginning with '/': a proxy may pass the absolute form
// "http://host:port/path?query" on, and a fragment is never part of the resource.
std::string_view OriginForm(std::string_view target);

// The value of the first t= query parameter when the path is /kh; the values of the other
// parameters do not matter. Nothing for another path or without a t= parameter.
std::optional<std::string_view> TileKeyParameter(std::string_view target);

enum class ImageFormat { Jpeg, Png };

struct XyzTile {
    TileKey position;
    ImageFormat format = ImageFormat::Jpeg;
};

// The tile of a path /{z}/{x}/{y}.jpg or .png, rows counted from the north, level 0 to
// kHighestLevel, column and row inside the level's grid; nothing for any other target.
std::optional<XyzTile> ParseXyzTarget(std::string_view target);

} // namespace tileserver
