// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/tile_request.h"

#include "os/integer_text.h"

#include <algorithm>

namespace tileserver {

namespace {

// Cuts the next blank-separated word off the front of text.
std::string_view NextWord(std::string_view& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

} // namespace

std::optional<RequestLine> ParseRequestLine(std::string_view head) {
    std::string_view line = head.substr(0, head.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    RequestLine request;
    request.method = NextWord(line);
    request.target = NextWord(line);
    request.version = NextWord(line);
    if (request.version.empty() || !NextWord(line).empty())
        return std::nullopt;
    return request;
}

std::string_view OriginForm(std::string_view target) {
    target = target.substr(0, target.find('#'));
    if (!target.starts_with('/')) {
        const std::size_t scheme = target.find("://");
        if (scheme == std::string_view::npos)
            return {};
        const std::size_t path = target.find('/', scheme + 3);
        if (path == std::string_view::npos)
            return "/";
        target.remove_prefix(path);
    }
    return target;
}

std::optional<std::string_view> TileKeyParameter(std::string_view target) {
    const std::string_view origin = OriginForm(target);
    const std::size_t question = origin.find('?');
    if (question == std::string_view::npos || origin.substr(0, question) != "/kh")
        return std::nullopt;
    std::string_view query = origin.substr(question + 1);
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view parameter = query.substr(0, end);
        if (parameter.starts_with("t="))
            return parameter.substr(2);
        query.remove_prefix(std::min(end + 1, query.size()));
    }
    return std::nullopt;
}

std::optional<XyzTile> ParseXyzTarget(std::string_view target) {
    std::string_view path = OriginForm(target);
    path = path.substr(0, path.find('?'));
    XyzTile tile;
    if (path.ends_with(".png"))
        tile.format = ImageFormat::Png;
    else if (!path.ends_with(".jpg"))
        return std::nullopt;
    path.remove_suffix(4);
    std::uint32_t numbers[3] = {};
    for (std::uint32_t& number : numbers) {
        if (!path.starts_with('/'))
            return std::nullopt;
        path.remove_prefix(1);
        const std::size_t end = std::min(path.find('/'), path.size());
        const std::string_view digits = path.substr(0, end);
        const std::optional<std::uint32_t> read = ParseInteger<std::uint32_t>(digits);
        if (digits.size() > 7 || !read)
            return std::nullopt;
        number = *read;
        path.remove_prefix(end);
    }
    if (!path.empty() || numbers[0] > static_cast<std::uint32_t>(kHighestLevel))
        return std::nullopt;
    const std::uint32_t side = 1u << numbers[0];
    if (numbers[1] >= side || numbers[2] >= side)
        return std::nullopt;
    tile.position = TileKey{static_cast<int>(numbers[0]), numbers[1], numbers[2]};
    return tile;
}

} // namespace tileserver
