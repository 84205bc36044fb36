// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/world_image.h"

#include "tools/tileserver/jpeg_decoder.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace tileserver {

std::optional<RgbImage> LoadWorldImage(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open world picture " + path;
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    if (file.bad()) {
        error = "cannot read world picture " + path;
        return std::nullopt;
    }
    std::string problem;
    std::optional<RgbImage> image = DecodeJpeg(bytes, problem);
    if (!image)
        error = "cannot decode world picture " + path + ": " + problem;
    return image;
}

} // namespace tileserver
