// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_numbers.h"

#include "os/integer_text.h"

#include <limits>
#include <string_view>

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

std::optional<qint64> ParseDecimal(QStringView text) {
    return ParseInteger<qint64>(
        std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())),
        PlusSign::Allowed);
}

// Overflow is refused rather than wrapped.
std::optional<qint64> ParseHex(QStringView text) {
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        if (value > (kMax - d) / 16)
            return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}
