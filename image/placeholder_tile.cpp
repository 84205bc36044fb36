// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/placeholder_tile.h"

#include "tiles/tile_side.h"

#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

namespace {

// Places the text's box so that its centre falls on (centreX, centreY).
void DrawCentred(QPainter& painter, const QString& text, int centreX, int centreY) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const QRect box(centreX - width / 2, centreY - height / 2, width, height);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace

QImage PlaceholderTile(const QString& firstLine, const QString& secondLine) {
    QImage tile(kTileSide, kTileSide, QImage::Format_RGB888);
    tile.fill(QColor(192, 192, 192));
    // Text takes a GUI application's fonts. The commands that run without one (prefill,
    // export) never show nor write the stand-in, only count it missing: plain grey will do.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return tile;
    QPainter painter(&tile);
    QFont font = QGuiApplication::font();
    font.setPointSize(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    DrawCentred(painter, firstLine, kTileSide / 2, 108);
    DrawCentred(painter, secondLine, kTileSide / 2, 148);
    painter.end();
    return tile;
}
