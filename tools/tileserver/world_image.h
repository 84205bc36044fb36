// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The equirectangular world picture that tiles are rendered from.
#include "tools/tileserver/rgb_image.h"

#include <optional>
#include <string>

namespace tileserver {

// Debian's xplanet-images package puts a 2048x1024 Earth picture here.
inline constexpr const char* kDefaultWorldImagePath = "/usr/share/xplanet/images/earth.jpg";

// Reads and decodes the JPEG file at path once. On failure returns nothing and sets
// error to a line fit for the user.
std::optional<RgbImage> LoadWorldImage(const std::string& path, std::string& error);

} // namespace tileserver
