// SPDX-License-Identifier: GPL-3.0-or-later
// The view and the window's jobs asking their template source again about old cached tiles,
// as the settings tab says.
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"

#include <QDateTime>
#include <QDirIterator>

namespace {

// The loopback server as a template source the window uses, its tiles cached below Cash/.
void UseNearSource(TempDir& home, const LoopbackTiles& http) {
    home.write("MySources.ini", ("[near]\nurl = " + http.Prefix().section('/', 0, 2) +
                                 "/{z}/{x}/{y}.jpg\nlevels = 1-3\nrate = 1000\n"
                                 "bulk-download = yes\n")
                                    .toUtf8());
    Settings settings = DesignSettings();
    settings.sourceName = "near";
    ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings),
                             AddedSettingsLinesOf(settings)));
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
}

// The cached tiles' age becomes two days; returns how many there are.
int AgeCachedTiles(const TempDir& home) {
    int tiles = 0;
    for (QDirIterator files(home.file("Cash"), {"*.jpg"}, QDir::Files,
                            QDirIterator::Subdirectories);
         files.hasNext(); ++tiles) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-2), QFile::FileModificationTime);
    }
    return tiles;
}

} // namespace

TEST_F(WindowTest, OldCachedTilesAreAskedAboutOnlyWhenSetAndKeptShownWhenTheServerFails) {
    UseNearSource(home, http);
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::darkCyan));
    TForm1& w = Open();
    ASSERT_EQ(http.requests.size(), 4);
    AgeCachedTiles(home);
    w.RefreshView(); // off, as by default: nothing asked
    EXPECT_EQ(http.requests.size(), 4);

    w.RefreshDaysUpDown->setValue(1);
    w.RefreshView(); // every tile asked again, the server answering none
    EXPECT_GE(http.requests.size(), 8);
    EXPECT_TRUE(Panel(3).endsWith("проверено 0, заменено 0, устарело 4")) << Panel(3).toStdString();
    for (const TileImage* image : w.images)
        EXPECT_FALSE(image->pixmap().isNull());
}

TEST_F(WindowTest, APrefillFromTheWindowAsksAgainAboutOldCachedTilesOnlyWhenSet) {
    UseNearSource(home, http);
    for (int i = 0; i < 4 + 16; ++i) // the view, then the region a level below it
        http.Reply(MakeTestJpeg(256, 256, Qt::darkCyan));
    TForm1& w = Open();
    w.Edit3->setText(QString::number(w.Label6->text().toInt() + 1));
    w.Button6->click();
    ASSERT_EQ(http.requests.size(), 20);
    ASSERT_EQ(AgeCachedTiles(home), 20);
    for (const int days : {0, 1}) {
        SCOPED_TRACE(days);
        w.RefreshDaysUpDown->setValue(days);
        http.requests.clear();
        w.Button6->click(); // the server answers nothing more: the old tiles stay
        // Set, the region's 16 tiles are asked about again (a read-ahead that failed once
        // more), and the view's when put back.
        if (days > 0)
            EXPECT_GE(http.requests.size(), 20);
        else
            EXPECT_EQ(http.requests.size(), 0);
        EXPECT_EQ(AgeCachedTiles(home), 20);
    }
}
