// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/tile_source.h"

#include "tiles/tile_ref.h"

#include <algorithm>

TileRequest PrefixTileSource::Request(const QString& ref) const {
    const RefParts parts = SplitRef(ref, static_cast<int>(Prefix().size()));
    return MakeTileRequest(cacheRoot_, parts.prefix, parts.letters);
}

RefParts SplitRef(const QString& ref, int prefixLength) {
    const auto length = std::clamp<qsizetype>(prefixLength, 0, ref.size());
    return {ref.left(length), ref.mid(length)};
}

ViewRefs::ViewRefs(const ViewUrls& refs, int prefixLength) {
    for (std::size_t slot = 0; slot < refs.size(); ++slot) {
        RefParts parts = SplitRef(refs[slot], prefixLength);
        prefixes_[slot] = std::move(parts.prefix);
        letters_[slot] = std::move(parts.letters);
    }
}

ViewUrls ViewRefs::Rebuilt(const ViewLetters& letters) const {
    return Rebuilt(ViewMove{letters});
}

ViewUrls ViewRefs::Rebuilt(const ViewMove& move) const {
    ViewUrls refs;
    for (std::size_t slot = 0; slot < refs.size(); ++slot)
        refs[slot] = RefOf(move.from[slot], move.letters[slot]);
    return refs;
}

ViewUrls ViewRefs::OnPrefix(const QString& prefix) const {
    ViewUrls refs;
    for (std::size_t slot = 0; slot < refs.size(); ++slot)
        refs[slot] = prefix + letters_[slot];
    return refs;
}

std::shared_ptr<const TileSource> ViewRefs::Source(const QString& cacheRoot) const {
    return std::make_shared<PrefixTileSource>(Prefix(), cacheRoot);
}
