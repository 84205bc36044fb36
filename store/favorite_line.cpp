// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/favorite_line.h"

#include "tiles/decimal_text.h"

namespace {

QString Field(const QString& text, int width) {
    return text.left(width).leftJustified(width, u' ');
}

// Blanks and control characters count as padding at either end.
QString TrimPadding(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}

} // namespace

QString FavoriteLine(const QString& name, const QString& zoomText, const QString& latHemisphere,
                     const QString& latitudeText, const QString& lonHemisphere,
                     const QString& longitudeText) {
    const QString line = Field(name, kFavoriteNameLength) + u' ' + Field(zoomText, 2) + u' ' +
                         Field(latHemisphere, 1) + Field(latitudeText, 14) + u' ' +
                         Field(lonHemisphere, 1) + Field(longitudeText, 14);
    Q_ASSERT(line.size() == kFavoriteLineLength);
    return line;
}

std::optional<FavoriteFields> ParseFavoriteLine(const QString& line) {
    if (line.size() < kFavoriteLineLength)
        return std::nullopt;
    const QStringView text(line);
    FavoriteFields fields;
    fields.zoomIndex = ParseIntOr(TrimPadding(text.sliced(21, 2)), 1) - 1;
    fields.latHemisphereIndex = text[24] == u'S' ? 1 : 0;
    fields.lonHemisphereIndex = text[40] == u'W' ? 0 : 1;
    fields.latitudeText = TrimPadding(text.sliced(25, 14));
    fields.longitudeText = TrimPadding(text.sliced(41, 14));
    return fields;
}
