// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tab widget's style: the application's own, with the pane's frame drawn in bands.
//
// Qt's raster engine hands every translucent fill of 96 rows or more to its thread pool. The
// pane's frame has a translucent line down each side, so without bands the window's first
// paint starts two threads and waits for them to draw those two lines: about half a
// millisecond of the start, and threads that stay for half a minute. In bands short enough to
// stay on this thread the frame's pixels are the same.
#include <QProxyStyle>

class BandedPaneStyle : public QProxyStyle {
public:
    // Rows of one band: a frame's two sides give two spans a row, and the engine keeps a fill
    // of fewer than 96 spans on the thread that draws.
    static constexpr int kBandRows = 40;

    // Over a style of its own made from the key (the desktop's when the key names none).
    explicit BandedPaneStyle(const QString& baseKey);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
