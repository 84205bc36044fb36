// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/mercator_tile.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace tileserver;

namespace {

using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255};

RgbImage Paint(int width, int height, const std::function<Rgb(int x, int y)>& colour) {
    RgbImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            for (int i = 0; i < 3; ++i)
                image.Pixel(x, y)[i] = static_cast<std::uint8_t>(c[i]);
        }
    return image;
}

Rgb At(const RgbImage& tile, int x, int y) {
    const std::uint8_t* p = tile.Pixel(x, y);
    return {p[0], p[1], p[2]};
}

TileKey Tile(const std::string& key) {
    return ParseTileKey(key).value();
}

} // namespace

TEST(MercatorTile, LatitudesAreStretchedTowardsThePoles) {
    // White beyond 60 degrees north and south, black between.
    const RgbImage world = Paint(360, 180, [](int, int y) {
        return y < 30 || y >= 150 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    });
    // On Mercator 60 degrees lies at 148.7 pixels from the top of a level-1 tile; a linear
    // latitude scale would put it near 75.
    const RgbImage north = RenderMercatorTile(world, Tile("tq"));
    EXPECT_EQ(At(north, 100, 0)[0], 255);
    EXPECT_EQ(At(north, 100, 145)[0], 255);
    EXPECT_EQ(At(north, 100, 152)[0], 0);
    EXPECT_EQ(At(north, 100, 255)[0], 0);
    const RgbImage south = RenderMercatorTile(world, Tile("tt"));
    EXPECT_EQ(At(south, 100, 0)[0], 0);
    EXPECT_EQ(At(south, 100, 103)[0], 0);
    EXPECT_EQ(At(south, 100, 110)[0], 255);
    EXPECT_EQ(At(south, 100, 255)[0], 255);
}

TEST(MercatorTile, SamplesBilinearlyAndWrapsAtTheDateLine) {
    // Eight columns of rising red; the east half of the world is columns 4 to 7.
    const RgbImage world = Paint(8, 4, [](int x, int) { return Rgb{x * 32, 0, 0}; });
    const RgbImage tile = RenderMercatorTile(world, Tile("tr"));
    EXPECT_NEAR(At(tile, 0, 100)[0], 112, 1);   // halfway between columns 3 and 4
    EXPECT_NEAR(At(tile, 128, 100)[0], 176, 1); // halfway between columns 5 and 6
    EXPECT_NEAR(At(tile, 255, 100)[0], 114, 1); // column 7 blending into column 0 across 180
}

TEST(MercatorTile, DeepestCornerTilesStayInsideThePicture) {
    // North red, south blue: the corners sample the first and last rows of the picture.
    const RgbImage world = Paint(360, 180, [](int, int y) { return y < 90 ? kRed : kBlue; });
    for (const auto& [letter, colour] : std::array<std::pair<char, Rgb>, 4>{
             {{'q', kRed}, {'r', kRed}, {'s', kBlue}, {'t', kBlue}}}) {
        const RgbImage tile = RenderMercatorTile(world, Tile("t" + std::string(20, letter)));
        EXPECT_EQ(At(tile, 0, 0), colour) << letter;
        EXPECT_EQ(At(tile, 255, 255), colour) << letter;
    }
}
