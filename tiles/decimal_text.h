// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers as the user sees and types them: always with the decimal comma, whatever the
// locale of the process.
#include <QString>
#include <QStringView>
#include <optional>

// Fixed notation with the given number of decimals (0..20), halves rounded away from
// zero: FormatFixed(30.5, 3) is "30,500". A value that rounds to zero has no minus sign.
QString FormatFixed(double value, int decimals);

// The shortest text of at most 15 significant digits, without trailing zeros:
// 883.52 is "883,52", 2 is "2". Values of 1e15 and more or below 1e-5 use an exponent
// ("1,5E20", "1E-7").
QString FormatGeneral(double value);

// A decimal integer with an optional sign that fits 32 bits; nothing for any other text.
// Blanks and any other character make the text invalid: callers that allow blanks around
// the number trim it first.
std::optional<int> ParseInt(QStringView text);

// The same with a fallback for any text that is not such an integer.
int ParseIntOr(QStringView text, int fallback);

// A decimal integer with an optional sign that fits 64 bits, read as ParseInt reads one.
std::optional<qint64> ParseInt64(QStringView text);

// A decimal number with the comma as separator, an optional sign and an optional
// exponent ("30,5", "-2", "1,5E3"). Nothing for any other text or an overflow.
std::optional<double> ParseDecimalComma(QStringView text);
