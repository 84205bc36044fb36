// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites reader on any file, selecting every entry, saving the selected fields as a
// new entry, and a save of the whole list followed by a second load.
#include "fuzz/cp1251_round_trip.h"
#include "fuzz/fuzz_check.h"
#include "store/favorite_line.h"
#include "store/favorites.h"

#include <cstddef>
#include <cstdint>

namespace {

bool operator==(const FavoriteFields& a, const FavoriteFields& b) {
    return a.zoomIndex == b.zoomIndex && a.latHemisphereIndex == b.latHemisphereIndex &&
           a.lonHemisphereIndex == b.lonHemisphereIndex && a.latitudeText == b.latitudeText &&
           a.longitudeText == b.longitudeText;
}

// Selecting an entry fills the search fields; saving them (under the name the box then shows)
// must give an entry that selects to the same fields.
void CheckSelectAndSave(const QString& entry) {
    const std::optional<FavoriteFields> fields = ParseFavoriteLine(entry);
    if (!fields) {
        FUZZ_CHECK(entry.size() < kFavoriteLineLength);
        return;
    }
    const QString saved =
        FavoriteLine(entry.left(kFavoriteNameLength), QString::number(fields->zoomIndex + 1),
                     fields->latHemisphereIndex == 1 ? QStringLiteral("S") : QStringLiteral("N"),
                     fields->latitudeText,
                     fields->lonHemisphereIndex == 0 ? QStringLiteral("W") : QStringLiteral("E"),
                     fields->longitudeText);
    FUZZ_CHECK(saved.size() == kFavoriteLineLength);
    const std::optional<FavoriteFields> again = ParseFavoriteLine(saved);
    FUZZ_CHECK(again && *again == *fields);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FavoritesFile read =
        LoadFavorites(WriteScratchFile(QStringLiteral("read.dat"), data, size));
    // Inputs are far below the bounds, so every one of them is a list of entries.
    FUZZ_CHECK(read.state == FavoritesFile::State::Loaded);
    for (const QString& entry : read.items)
        CheckSelectAndSave(entry);

    const QString savedPath = WriteScratchFile(QStringLiteral("saved.dat"), nullptr, 0);
    FUZZ_CHECK(SaveFavorites(savedPath, read.items));
    const FavoritesFile loaded = LoadFavorites(savedPath);
    FUZZ_CHECK(loaded.state == FavoritesFile::State::Loaded);
    CheckReadBack(read.items, loaded.items);

    // A file the program wrote reads back to exactly what it holds.
    const QByteArray savedBytes = ReadScratchFile(savedPath);
    FUZZ_CHECK(SaveFavorites(savedPath, loaded.items));
    FUZZ_CHECK(ReadScratchFile(savedPath) == savedBytes);
    return 0;
}
