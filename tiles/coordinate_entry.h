// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Typing and reading a latitude or longitude as degrees, a degree sign, minutes with a
// decimal comma and a closing apostrophe: 55°30,5'.
#include <QChar>
#include <QString>
#include <optional>

enum class CoordField { Latitude, Longitude };

inline constexpr QChar kDegreeSign = u'\u00B0';
inline constexpr QChar kBackspace = u'\u0008';

// What to do with one typed key: insert is the character to insert at the caret (none:
// discard the key); hemisphereIndex is set by the hemisphere letters (latitude: 0 north,
// 1 south; longitude: 0 west, 1 east), whose key is then discarded.
struct KeyDecision {
    std::optional<QChar> insert;
    std::optional<int> hemisphereIndex;
};

// The key filter of both fields. caret is the number of characters before the caret.
// Digits are taken unless the caret is behind the apostrophe; a comma, full stop or space
// becomes the next missing separator (degree sign, comma, apostrophe); backspace passes.
KeyDecision FilterCoordinateKey(CoordField field, const QString& text, int caret, QChar key);

// The text of a field read back on leaving it. When converted is false the minutes were
// not a number: error says why and nothing is to be stored. Otherwise value is to be
// stored even when inRange is false (the field then takes the focus back).
struct CoordinateEntry {
    bool converted = true;
    double value = 0;
    bool inRange = true;
    QString error;
};

CoordinateEntry ParseCoordinateText(CoordField field, const QString& text);
