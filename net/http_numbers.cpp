// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_numbers.h"

#include <limits>

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

// Digits of the given base only; overflow is refused rather than wrapped.
std::optional<qint64> ParseDigits(QStringView digits, int base) {
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits) {
        const int d = HexDigit(c);
        if (d < 0 || d >= base)
            return std::nullopt;
        if (value > (kMax - d) / base)
            return std::nullopt;
        value = value * base + d;
    }
    return value;
}

} // namespace

std::optional<qint64> ParseDecimal(QStringView text) {
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    const std::optional<qint64> magnitude = ParseDigits(text, 10);
    if (!magnitude)
        return std::nullopt;
    return negative ? -*magnitude : *magnitude;
}

std::optional<qint64> ParseHex(QStringView text) {
    return ParseDigits(text, 16);
}
