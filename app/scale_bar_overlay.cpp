// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scale_bar_overlay.h"

#include "tiles/map_scale.h"

#include <QPainter>

namespace {

constexpr int kMargin = 6;

} // namespace

ScaleBarOverlay::ScaleBarOverlay(QWidget* parent) : QWidget(parent) {
    resize(kWidth, kHeight);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void ScaleBarOverlay::Measure(double latitude, int level) {
    const ScaleBar bar = ScaleBarFor(latitude, level, kWidth - 2 * kMargin);
    pixels_ = bar.pixels;
    text_ = bar.metres <= 0      ? QString()
            : bar.metres >= 1000 ? tr("%1 км").arg(bar.metres / 1000)
                                 : tr("%1 м").arg(bar.metres);
    update();
}

void ScaleBarOverlay::paintEvent(QPaintEvent*) {
    if (text_.isEmpty())
        return;
    QPainter painter(this);
    // A pale backdrop keeps the bar readable over any imagery.
    painter.fillRect(0, 0, pixels_ + 2 * kMargin, height(), QColor(255, 255, 255, 190));
    painter.setPen(QPen(Qt::black, 2));
    const int y = height() - kMargin;
    painter.drawLine(kMargin, y, kMargin + pixels_, y);
    painter.drawLine(kMargin, y - 5, kMargin, y);
    painter.drawLine(kMargin + pixels_, y - 5, kMargin + pixels_, y);
    painter.drawText(QRect(kMargin, 0, width() - kMargin, y - 2), Qt::AlignLeft | Qt::AlignBottom,
                     text_);
}
