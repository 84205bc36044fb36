// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/cache_coverage.h"

#include "tiles/tile_ref.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <limits>

#include <sys/stat.h>

CachedLetters::CachedLetters(const QStringList& names, const QString& suffix) {
    for (const QString& name : names) {
        if (!name.endsWith(suffix))
            continue;
        const QStringView letters = QStringView(name).chopped(suffix.size());
        if (IsQuadPath(letters))
            byLength_[letters.size()].push_back(letters.toString());
    }
    for (auto& [length, each] : byLength_)
        std::sort(each.begin(), each.end());
}

std::optional<CachedLetters::Naming> CachedLetters::NamingOf(const TileSource& source,
                                                             const QString& anyLetters) {
    const TileRequest request = source.Request(source.RefOf(anyLetters));
    if (!request.cacheFile)
        return std::nullopt;
    const QFileInfo file(*request.cacheFile);
    const QString name = file.fileName();
    if (!name.startsWith(anyLetters))
        return std::nullopt;
    return Naming{file.path(), name.mid(anyLetters.size())};
}

CachedLetters CachedLetters::OfFolder(const Naming& naming) {
    QStringList names;
    // Unsorted and without file details: a large cache is listed at the speed of the folder.
    QDirIterator it(naming.folder, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext())
        names << it.nextFileInfo().fileName();
    return CachedLetters(names, naming.suffix);
}

CachedLetters CachedLetters::OfSource(const TileSource& source, const QString& anyLetters) {
    const std::optional<Naming> naming = NamingOf(source, anyLetters);
    return naming ? OfFolder(*naming) : CachedLetters();
}

std::uint64_t CachedLetters::CountUnder(const QString& letters, int depth) const {
    const auto found = byLength_.find(letters.size() + depth);
    if (depth < 0 || found == byLength_.end())
        return 0;
    const std::vector<QString>& names = found->second;
    // Every name that starts with letters sorts between letters and letters followed by 'u',
    // the letter after the last quadrant letter.
    const auto first = std::lower_bound(names.begin(), names.end(), letters);
    const auto last = std::lower_bound(first, names.end(), letters + QLatin1Char('u'));
    return static_cast<std::uint64_t>(last - first);
}

CoverageShare CachedLetters::ShareAt(const QString& letters, int level) const {
    const int depth = level - static_cast<int>(letters.size());
    if (depth <= 0)
        return CountUnder(letters.left(level), 0) > 0 ? CoverageShare::All : CoverageShare::None;
    const std::uint64_t cached = CountUnder(letters, depth);
    // Past 31 levels down the whole subtree no longer fits the count: it is never all cached.
    const std::uint64_t all =
        depth < 32 ? std::uint64_t{1} << (2 * depth) : std::numeric_limits<std::uint64_t>::max();
    if (cached == 0)
        return CoverageShare::None;
    return cached >= all ? CoverageShare::All : CoverageShare::Part;
}

namespace {

// A folder changed this recently may change again within the same tick of the file system's
// clock, which would leave its time as it was: its listing is not trusted past the next count.
// File systems that keep whole seconds, or two, are covered too.
constexpr std::int64_t kSettledSeconds = 3;

} // namespace

std::optional<CoverageListing::Stamp> CoverageListing::StampOf(const QString& folder) {
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0)
        return std::nullopt;
    return Stamp{static_cast<std::uint64_t>(status.st_dev),
                 static_cast<std::uint64_t>(status.st_ino),
                 static_cast<std::int64_t>(status.st_mtim.tv_sec),
                 static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

const CachedLetters& CoverageListing::Of(const TileSource& source, const QString& anyLetters) {
    const std::optional<CachedLetters::Naming> naming = CachedLetters::NamingOf(source, anyLetters);
    const std::optional<Stamp> stamp = naming ? StampOf(naming->folder) : std::nullopt;
    if (stamp && stamp_ && naming == naming_ && *stamp == *stamp_)
        return letters_;
    naming_ = naming;
    letters_ = naming ? CachedLetters::OfFolder(*naming) : CachedLetters();
    const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    // The stamp taken before the listing: a file added while it ran changes the folder after it.
    stamp_ = stamp && now - stamp->seconds >= kSettledSeconds ? stamp : std::nullopt;
    return letters_;
}
