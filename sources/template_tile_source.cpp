// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/template_tile_source.h"

#include "sources/url_template.h"
#include "tiles/tile_ref.h"

QString TemplateTileSource::RequestOf(const TileKey& key) const {
    return ExpandUrlTemplate(source_.urlTemplate, source_.subdomains, key.level, key.column,
                             key.row);
}

QString TemplateTileSource::CachePathOf(const TileKey& key) const {
    return RequestForKey(key).cacheFile.value_or(QString());
}

TileRequest TemplateTileSource::RequestForKey(const TileKey& key) const {
    return RequestFor(RequestOfLetters(QuadPathOf(key)));
}

TileRequest TemplateTileSource::RequestFor(const QString& ref) const {
    const RefParts parts = SplitRef(ref, static_cast<int>(prefix_.size()));
    TileRequest request = MakeTileRequest(folder_, parts.prefix, parts.letters);
    const std::optional<TileKey> key = KeyOfQuadPath(request.quadPath);
    if (!key) {
        request.cacheFile.reset();
        request.url.clear();
        return request;
    }
    request.url = RequestOf(*key);
    return request;
}
