// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decimal integers as typed, as files hold them and as they come over the wire: the one reader
// of them, plain C++ at the bottom of the tree, so that every room and the demo tile server
// read numbers with the same code.
#include <concepts>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

// Whether a plus sign may lead the digits: the program's fields, files and HTTP numbers take
// one, the demo server's arguments and addresses never did.
enum class PlusSign { Refused, Allowed };

// The value of a decimal integer: an optional sign, then one digit or more and nothing else
// (no blanks, no base prefix). A minus sign only for a signed Int. Nothing for any other text
// or a value Int cannot hold.
template <std::integral Int, typename Char>
constexpr std::optional<Int> ParseInteger(std::basic_string_view<Char> text,
                                          PlusSign plus = PlusSign::Refused) {
    using Magnitude = std::make_unsigned_t<Int>;
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && ((text[0] == Char('+') && plus == PlusSign::Allowed) ||
                          (std::is_signed_v<Int> && text[0] == Char('-')))) {
        negative = text[0] == Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Below zero the magnitude reaches one further than above it.
    const Magnitude limit =
        static_cast<Magnitude>(std::numeric_limits<Int>::max()) + (negative ? 1u : 0u);
    Magnitude magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < Char('0') || text[i] > Char('9'))
            return std::nullopt;
        const auto digit = static_cast<Magnitude>(text[i] - Char('0'));
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = static_cast<Magnitude>(magnitude * 10 + digit);
    }
    if (!negative || magnitude == 0)
        return static_cast<Int>(magnitude);
    // Negated one short of the magnitude, so that the lowest value never overflows.
    return static_cast<Int>(-static_cast<Int>(magnitude - 1) - 1);
}

// The same for the bytes of a container of chars that has data() and size(), such as a
// QByteArray.
template <std::integral Int, typename Chars>
requires std::same_as < std::remove_cvref_t<decltype(*std::declval<const Chars&>().data())>,
char > constexpr std::optional<Int> ParseInteger(const Chars& text,
                                                 PlusSign plus = PlusSign::Refused) {
    return ParseInteger<Int>(std::string_view(text.data(), static_cast<std::size_t>(text.size())),
                             plus);
}
