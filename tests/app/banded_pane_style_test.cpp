// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/banded_pane_style.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QThreadPool>
#include <gtest/gtest.h>

// The window's tab widget, its pane over 96 rows tall, drawn with style after the pool has let
// its threads go; whether that started one.
static QImage TabsDrawn(QStyle* style, bool* startedThread) {
    QThreadPool::globalInstance()->waitForDone();
    QTabWidget tabs;
    tabs.setStyle(style);
    tabs.setTabPosition(QTabWidget::South);
    tabs.addTab(new QWidget, QStringLiteral("Просмотр"));
    tabs.resize(512, 137);
    tabs.setAttribute(Qt::WA_DontShowOnScreen); // laid out as shown, drawn only below
    tabs.show();
    QImage image(tabs.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const uint threads = QDir(QStringLiteral("/proc/self/task")).count();
    tabs.render(&image);
    *startedThread = QDir(QStringLiteral("/proc/self/task")).count() > threads;
    return image;
}

TEST(BandedPaneStyle, DrawsThePaneAsTheStyleDoesWithoutStartingAThread) {
    bool plainStarted = false, bandedStarted = true;
    const QImage plain = TabsDrawn(nullptr, &plainStarted);
    BandedPaneStyle banded(QApplication::style()->name());
    EXPECT_EQ(TabsDrawn(&banded, &bandedStarted), plain);
    if (!plainStarted)
        GTEST_SKIP() << "this toolkit draws the pane on the painting thread anyway";
    EXPECT_FALSE(bandedStarted);
}
