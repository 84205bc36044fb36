// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/banded_pane_style.h"

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

BandedPaneStyle::BandedPaneStyle(const QString& baseKey) : QProxyStyle(baseKey) {}

void BandedPaneStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameTabWidget || widget == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The bands cross the whole widget, so that whatever the style draws, within the pane's
    // rectangle or beside it, falls in exactly one of them.
    const QRect area = widget->rect();
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        painter->save();
        painter->setClipRect(QRect(area.left(), top, area.width(), kBandRows), Qt::IntersectClip);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->restore();
    }
}
