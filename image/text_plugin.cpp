// SPDX-License-Identifier: GPL-3.0-or-later
// The text plugin's side: the only code of the batch commands that calls Qt Gui.
#include "image/text_plugin.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

QCoreApplication* StartGuiApplication(int& argc, char** argv) {
    return new QGuiApplication(argc, argv);
}

// Places the text's box so that its centre falls on (centreX, centreY).
void DrawCentred(QPainter& painter, const QString& text, int centreX, int centreY) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const QRect box(centreX - width / 2, centreY - height / 2, width, height);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void DrawLines(uchar* bits, int width, int height, qsizetype bytesPerLine, const QString& firstLine,
               int firstCentreY, const QString& secondLine, int secondCentreY) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    // The caller's rows themselves, painted in place.
    QImage rows(bits, width, height, bytesPerLine, QImage::Format_RGB888);
    QPainter painter(&rows);
    QFont font = QGuiApplication::font();
    font.setPointSize(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    DrawCentred(painter, firstLine, width / 2, firstCentreY);
    DrawCentred(painter, secondLine, width / 2, secondCentreY);
}

} // namespace

extern "C" __attribute__((visibility("default"))) const TextPlugin* orbivist_text_plugin() {
    static const TextPlugin plugin{kTextPluginVersion, StartGuiApplication, DrawLines};
    return &plugin;
}
