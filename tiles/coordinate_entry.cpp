// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/coordinate_entry.h"

#include "tiles/decimal_text.h"
#include "tiles/mercator.h"

#include <algorithm>

namespace {

bool IsOneOf(QChar key, QStringView letters) {
    return letters.contains(key);
}

std::optional<int> HemisphereOfKey(CoordField field, QChar key) {
    // The Cyrillic letters sit on the same keys as the Latin ones on a Russian layout.
    if (field == CoordField::Latitude) {
        if (IsOneOf(key, u"NnТт"))
            return 0;
        if (IsOneOf(key, u"SsЫы"))
            return 1;
    } else {
        if (IsOneOf(key, u"WwЦц"))
            return 0;
        if (IsOneOf(key, u"EeУу"))
            return 1;
    }
    return std::nullopt;
}

// 1-based position of c in text, 0 when absent.
int PositionOf(const QString& text, QChar c) {
    return static_cast<int>(text.indexOf(c)) + 1;
}

} // namespace

KeyDecision FilterCoordinateKey(CoordField field, const QString& text, int caret, QChar key) {
    const int degreePos = PositionOf(text, kDegreeSign);
    const int commaPos = PositionOf(text, u',');
    const int apostrophePos = PositionOf(text, u'\'');
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));

    KeyDecision decision;
    if (const auto hemisphere = HemisphereOfKey(field, key)) {
        decision.hemisphereIndex = hemisphere;
        return decision;
    }
    if (key >= u'0' && key <= u'9') {
        if (apostrophePos == 0 || caret < apostrophePos)
            decision.insert = key;
        return decision;
    }
    if (key == u',' || key == u'.' || key == u' ') {
        QChar separator;
        if (degreePos == 0)
            separator = kDegreeSign;
        else if (commaPos == 0)
            separator = u',';
        else if (apostrophePos == 0)
            separator = u'\'';
        else
            return decision;
        if (caret == 0)
            return decision;
        // Minutes need at least one character between the degree sign and the caret.
        if (separator != kDegreeSign && caret <= degreePos)
            return decision;
        decision.insert = separator;
        return decision;
    }
    if (key == kBackspace)
        decision.insert = key;
    return decision;
}

CoordinateEntry ParseCoordinateText(CoordField field, const QString& text) {
    const int length = static_cast<int>(text.size());
    const int degreePos = PositionOf(text, kDegreeSign);

    int degrees = 0;
    double minutes = 0;
    if (!text.isEmpty() && degreePos == 0) {
        degrees = ParseIntOr(text, -1);
    } else if (degreePos >= 2 && degreePos < length) {
        degrees = ParseIntOr(QStringView(text).left(degreePos - 1), -1);
        // The apostrophe is taken to close the text: drop the last character then.
        const int minutesEnd = text.contains(u'\'') ? length - 1 : length;
        const QString minutesText = text.mid(degreePos, minutesEnd - degreePos);
        const std::optional<double> parsed = ParseDecimalComma(minutesText);
        if (!parsed) {
            CoordinateEntry failed;
            failed.converted = false;
            failed.error =
                QStringLiteral("'%1' is not a valid floating point value").arg(minutesText);
            return failed;
        }
        minutes = *parsed;
    }

    const int degreeLimit = field == CoordField::Latitude ? 90 : 180;
    CoordinateEntry entry;
    entry.inRange = degrees >= 0 && degrees < degreeLimit && minutes >= 0 && minutes < 60;
    entry.value = static_cast<double>(degrees + minutes * kInverse60);
    return entry;
}
