// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The latitude/longitude grid drawn over the block of tiles, each line labelled at the block's
// top or left edge. It takes no mouse input and moves with the block while it is dragged.
#include "tiles/map_graticule.h"

#include <QWidget>

#include <vector>

class GraticuleOverlay : public QWidget {
public:
    explicit GraticuleOverlay(QWidget* parent);

    // The lines for the block whose top-left tile is anchor, as large as the widget.
    void Measure(const TileKey& anchor);
    const std::vector<GraticuleLine>& Lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<GraticuleLine> lines_;
    int worldBottom_ = 0; // below it the block shows no world
};
