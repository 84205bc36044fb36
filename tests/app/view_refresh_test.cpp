// SPDX-License-Identifier: GPL-3.0-or-later
// The view asking its template source again about old cached tiles, as the settings tab says.
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"

#include <QDateTime>
#include <QDirIterator>

TEST_F(WindowTest, OldCachedTilesAreAskedAboutOnlyWhenSetAndKeptShownWhenTheServerFails) {
    home.write("MySources.ini", ("[near]\nurl = " + http.Prefix().section('/', 0, 2) +
                                 "/{z}/{x}/{y}.jpg\nlevels = 1-3\nrate = 1000\n")
                                    .toUtf8());
    Settings settings = DesignSettings();
    settings.sourceName = "near";
    ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings),
                             AddedSettingsLinesOf(settings)));
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::darkCyan));
    TForm1& w = Open();
    ASSERT_EQ(http.requests.size(), 4);
    for (QDirIterator files(home.file("Cash"), QDir::Files, QDirIterator::Subdirectories);
         files.hasNext();) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-2), QFile::FileModificationTime);
    }
    w.RefreshView(); // off, as by default: nothing asked
    EXPECT_EQ(http.requests.size(), 4);

    w.RefreshDaysUpDown->setValue(1);
    w.RefreshView(); // every tile asked again, the server answering none
    EXPECT_GE(http.requests.size(), 8);
    EXPECT_TRUE(Panel(3).endsWith("проверено 0, заменено 0, устарело 4")) << Panel(3).toStdString();
    for (const TileImage* image : w.images)
        EXPECT_FALSE(image->pixmap().isNull());
}
