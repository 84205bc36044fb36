// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles of a source addressed by a URL template. The view still holds each tile as the
// request prefix of the settings followed by its quadrant letters; only the request sent and
// the folder of the cached copy differ from the demo source.
#include "sources/source_definition.h"
#include "sources/tile_source.h"

class TemplateTileSource final : public TileSource {
public:
    // prefix is the part of the view's tile texts before the letters; folder is the source's
    // own cache folder, ending with '/'.
    TemplateTileSource(SourceDefinition source, QString prefix, QString folder)
        : TileSource(std::move(prefix)), source_(std::move(source)), folder_(std::move(folder)) {}

    using TileSource::Request;
    // A text whose letters name no tile (or name the level-0 world) gets neither a URL nor a
    // cache file, so it is never fetched.
    TileRequest Request(const QString& ref) const override;

private:
    SourceDefinition source_;
    QString folder_;
};
