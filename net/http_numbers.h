// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Strict number parsing for texts that come from the wire or from edit fields.
#include <QStringView>
#include <optional>

// An optional '+' or '-' followed by decimal digits and nothing else; nothing when the text
// is anything else or does not fit in 64 bits.
std::optional<qint64> ParseDecimal(QStringView text);

// Hexadecimal digits (either case) and nothing else; nothing when empty, malformed or too large.
std::optional<qint64> ParseHex(QStringView text);
