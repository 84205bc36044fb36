// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Producing the image of one tile from the disk cache or the tile server.
#include "image/jpeg_decode.h"
#include "loader/tile_cache.h"
#include "loader/tile_counters.h"
#include "net/http_get.h"
#include "sources/tile_request.h"
#include "tiles/work_mode.h"

#include <functional>

// What the loader needs from the window it works for.
class LoaderHooks {
public:
    virtual ~LoaderHooks() = default;
    // Processes pending window messages, so that a cancel button stays alive.
    virtual void PumpEvents() = 0;
    // Redraws the three error counters (also while no progress dialog is visible).
    virtual void ShowErrorCounts() = 0;
    // True once the person asked the work to stop: a fetch that fails then was ended by the
    // cancel and is no receive error. Nobody can stop the work of hooks that keep false.
    virtual bool CancelRequested() { return false; }
};

// What a loop over many tiles keeps from one tile to the next: the cache file's bytes and
// the decoder with its pixel buffers, so that no tile allocates its own.
struct TileBuffers {
    // Tiles come out in format: see JpegDecoder.
    explicit TileBuffers(PixelFormat format = PixelFormat::Rgb888) : decoder(format) {}
    QByteArray fileBytes;
    JpegDecoder decoder;
    // When set, a JPEG tile is decoded straight into these rows, which are a tile's sides,
    // and decodedInto says so after the load; anything else still comes out as the image.
    PixelRows into;
    bool decodedInto = false;
};

// For work that only copies tiles (a prefill, an export): the bytes of each tile the loader
// has are handed over, read once.
using TileBytesSink = std::function<void(const TileRequest& tile, const QByteArray& bytes)>;

struct RefreshRule;

struct TileLoaderContext {
    WorkMode mode;
    HttpGet& http;
    TileCounters& counters;
    LoaderHooks& hooks;
    // The loop's buffers; without them each tile has buffers of its own.
    TileBuffers* buffers = nullptr;
    const TileBytesSink* copy = nullptr;
    // With copy set and no one to show the tiles: a cached file, or a reply, is checked for a
    // whole tile's layout instead of being decoded, and the image stays as it was.
    bool layoutOnly = false;
    // When set, a cached tile it makes due is asked about again before it is used.
    const RefreshRule* refresh = nullptr;
};

// Loads one tile into image. True when image holds the tile, or, in cache-only mode,
// the "missing from cache" placeholder; false when nothing usable was obtained (image is
// then unspecified). Damaged cache files are deleted, every failure is counted in
// context.counters by kind, and good replies are stored in the cache. Never retries.
// A tile without a cache file name is refused outright: false, nothing counted.
bool TileLoader(const TileRequest& tile, TilePixels& image, TileLoaderContext& context);
