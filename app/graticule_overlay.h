// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The latitude/longitude grid drawn over the block of tiles, each line labelled at the block's
// top or left edge. It takes no mouse input and moves with the block while it is dragged.
#include "tiles/map_graticule.h"

#include <QFontMetrics>
#include <QRect>
#include <QWidget>

#include <vector>

// The box of each line's label, in the order of lines: a meridian's along the top edge, a
// parallel's along the left edge, each just past its line. A label that would lie over one
// placed before it is left out (an empty box), so that no two labels ever overlap: where the
// equator runs along the top, its label gives way to the meridians'.
std::vector<QRect> GraticuleLabelBoxes(const std::vector<GraticuleLine>& lines,
                                       const QFontMetrics& metrics);

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
    std::vector<QRect> labelBoxes_;
    int worldBottom_ = 0; // below it the block shows no world
};
