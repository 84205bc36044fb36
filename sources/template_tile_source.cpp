// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/template_tile_source.h"

#include "sources/url_template.h"
#include "tiles/tile_ref.h"

TileRequest TemplateTileSource::Request(const QString& ref) const {
    const RefParts parts = SplitRef(ref, static_cast<int>(Prefix().size()));
    TileRequest request = MakeTileRequest(folder_, parts.prefix, parts.letters);
    const std::optional<TileKey> key = KeyOfQuadPath(request.quadPath);
    if (!key) {
        request.cacheFile.reset();
        request.url.clear();
        return request;
    }
    request.url = ExpandUrlTemplate(source_.urlTemplate, source_.subdomains, key->level,
                                    key->column, key->row);
    return request;
}
