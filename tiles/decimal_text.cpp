// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/decimal_text.h"

#include "os/integer_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QString NonFiniteText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Skips a run of digits from position i; returns the number skipped.
qsizetype SkipDigits(QStringView text, qsizetype& i) {
    const qsizetype start = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i - start;
}

} // namespace

QString FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return NonFiniteText(value);
    QString text = QString::number(value, 'f', std::clamp(decimals, 0, 20));
    if (text.startsWith(u'-') &&
        std::all_of(text.begin() + 1, text.end(), [](QChar c) { return c == u'0' || c == u'.'; }))
        text.remove(0, 1);
    text.replace(u'.', u',');
    return text;
}

QString FormatGeneral(double value) {
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (value == 0)
        return QStringLiteral("0");
    // "d.dddddddddddddde+XX": the 15 significant digits, rounded, and the exponent.
    const QString scientific = QString::number(std::fabs(value), 'e', 14);
    const qsizetype ePos = scientific.indexOf(u'e');
    QString digits = scientific.left(ePos).remove(u'.');
    const int exponent = ParseIntOr(QStringView(scientific).mid(ePos + 1), 0);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= 15 || exponent < -5) {
        text += digits.left(1);
        if (digits.size() > 1)
            text += u',' + digits.mid(1);
        return text + u'E' + QString::number(exponent);
    }
    if (exponent < 0)
        return text + QStringLiteral("0,") + QString(-exponent - 1, u'0') + digits;
    const qsizetype wholeDigits = exponent + 1;
    if (digits.size() <= wholeDigits)
        return text + digits + QString(wholeDigits - digits.size(), u'0');
    return text + digits.left(wholeDigits) + u',' + digits.mid(wholeDigits);
}

std::optional<int> ParseInt(QStringView text) {
    return ParseInteger<int>(
        std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())),
        PlusSign::Allowed);
}

std::optional<qint64> ParseInt64(QStringView text) {
    return ParseInteger<qint64>(
        std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())),
        PlusSign::Allowed);
}

int ParseIntOr(QStringView text, int fallback) {
    return ParseInt(text).value_or(fallback);
}

std::optional<double> ParseDecimalComma(QStringView text) {
    // Check the grammar here, then hand a plain ASCII copy with a full stop to
    // from_chars, which never consults the locale.
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype mantissaDigits = SkipDigits(text, i);
    if (i < text.size() && text[i] == u',') {
        ++i;
        mantissaDigits += SkipDigits(text, i);
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (SkipDigits(text, i) == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    std::string ascii = text.toString().toStdString();
    std::replace(ascii.begin(), ascii.end(), ',', '.');
    const char* begin = ascii.data();
    if (*begin == '+')
        ++begin;
    double value = 0;
    const auto [end, error] = std::from_chars(begin, ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}
