// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A region and its levels as a person types them, in the window or on the command line.
#include <QString>
#include <array>
#include <optional>

// "W,S,E,N" in decimal degrees (west above east crosses the 180th meridian); nothing unless
// it is four numbers of a box on the globe with its south below its north.
std::optional<std::array<double, 4>> BoxOfText(const QString& text);

struct LevelRange {
    int first = 0;
    int last = 0;
};

// "A-B" or "A", whole numbers with A not above B; nothing otherwise.
std::optional<LevelRange> LevelsOfText(const QString& text);
