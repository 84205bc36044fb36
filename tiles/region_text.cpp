// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_text.h"

#include "tiles/decimal_text.h"
#include "tiles/geo_region.h"

#include <QStringList>

namespace {

std::optional<int> WholeNumber(const QString& text) {
    return ParseInt(QStringView(text).trimmed());
}

} // namespace

std::optional<std::array<double, 4>> BoxOfText(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 4)
        return std::nullopt;
    std::array<double, 4> box{};
    for (std::size_t i = 0; i < box.size(); ++i) {
        bool ok = false;
        box[i] = parts[static_cast<qsizetype>(i)].trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (!GeoRegion::Box(box[0], box[1], box[2], box[3]))
        return std::nullopt;
    return box;
}

std::optional<LevelRange> LevelsOfText(const QString& text) {
    const QStringList parts = text.split('-');
    const std::optional<int> first = parts.size() <= 2 ? WholeNumber(parts.front()) : std::nullopt;
    const std::optional<int> last = parts.size() == 2 ? WholeNumber(parts.back()) : first;
    if (!first || !last || *first < 0 || *first > *last)
        return std::nullopt;
    return LevelRange{*first, *last};
}
