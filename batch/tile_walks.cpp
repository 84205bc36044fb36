#include "batch/tile_walks.h"

#include "tiles/tile_ref.h"

#include <cstdint>

UpcomingTiles PrefillWalk(std::shared_ptr<const TileSource> source, const ViewUrls& view,
                          int prefixLength, int depth) {
    const std::optional<TileKey> anchor = KeyOfQuadPath(QuadPathOf(view[0], prefixLength));
    if (!anchor || depth <= anchor->level || depth > kMaxTileLevel)
        return [] { return std::optional<TileRequest>(); };
    const int levelsDown = depth - anchor->level;
    const std::uint64_t blocksPerSide = std::uint64_t{1} << levelsDown;
    const std::uint64_t side = std::uint64_t{1} << depth; // the world wraps at its edges
    const std::uint64_t west = std::uint64_t{anchor->column} << levelsDown;
    const std::uint64_t north = std::uint64_t{anchor->row} << levelsDown;
    std::uint64_t next = 0; // tile number along the walk
    return [=]() mutable -> std::optional<TileRequest> {
        const std::uint64_t block = next / 4;
        if (block >= blocksPerSide * blocksPerSide)
            return std::nullopt;
        const TileKey topLeft{
            depth, static_cast<std::uint32_t>((west + 2 * (block / blocksPerSide)) % side),
            static_cast<std::uint32_t>((north + 2 * (block % blocksPerSide)) % side)};
        const TileKey tile = topLeft.Block()[next++ % 4];
        return source->RequestFor(source->RequestOfLetters(QuadPathOf(tile)));
    };
}

UpcomingTiles StitchWalk(std::shared_ptr<const TileSource> source, StitchPlan plan) {
    qsizetype next = 0;
    return [source = std::move(source), plan = std::move(plan),
            next]() mutable -> std::optional<TileRequest> {
        if (next >= plan.tiles.size())
            return std::nullopt;
        return source->RequestFor(source->RequestOfLetters(plan.tiles[next++].letters));
    };
}
