// SPDX-License-Identifier: GPL-3.0-or-later
// The prefill tab's region of any shape: a box typed in degrees, its estimate or the reason it
// cannot start before "Начать", its outline over the view, and the prefill of exactly its
// tiles.
#include "app/region_outline.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/ogr_tiles.h"

#include <QDir>

namespace {

std::size_t ExpectedCount(const GeoRegion& region, int first, int last) {
    std::size_t count = 0;
    for (int level = first; level <= last; ++level)
        count += IntersectingTiles(region.Polygons(), level).size();
    return count;
}

TEST_F(WindowTest, ABoxRegionSaysItsTilesOrWhyItCannotStart) {
    TForm1& w = Open();
    w.PageControl1->setCurrentWidget(w.TabSheet3);
    w.RegionBox->setCurrentIndex(2);
    EXPECT_FALSE(w.Label11->isVisible());
    struct Case {
        const char* box;
        const char* levels;
        const char* says; // in the estimate line; empty when the tiles are counted
    } const cases[] = {
        {"10,40,30,55", "3-5", ""},
        {"170,-20,-170,-5", "", ""}, // the depth alone
        {"10,55,30,40", "3-5", "Рамка"},
        {"10,40,30,55", "5-3", "Уровни"},
        {"10,40,30,55", "3-30", "вне уровней"},
        {"10,86,30,89", "3-5", "нет фрагментов"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        w.Edit3->setText("4");
        w.LevelsEdit->setText(c.levels);
        QTest::keyClicks(w.RegionEdit, c.box); // typed, as a person does
        const bool starts = QString(c.says).isEmpty();
        EXPECT_EQ(w.Button6->isEnabled(), starts);
        EXPECT_EQ(w.Button7->isEnabled(), starts);
        EXPECT_EQ(w.Outline->isVisible(), starts);
        if (starts) {
            const QStringList d = QString(c.box).split(',');
            const GeoRegion box =
                *GeoRegion::Box(d[0].toDouble(), d[1].toDouble(), d[2].toDouble(), d[3].toDouble());
            const bool depth = QString(c.levels).isEmpty();
            EXPECT_TRUE(w.Label13->text().startsWith(
                QStringLiteral("Фрагментов %1,")
                    .arg(ExpectedCount(box, depth ? 4 : 3, depth ? 4 : 5))))
                << w.Label13->text().toStdString();
        } else {
            EXPECT_TRUE(w.Label13->text().contains(QString::fromUtf8(c.says)))
                << w.Label13->text().toStdString();
        }
        w.RegionEdit->clear();
    }
    EXPECT_TRUE(w.RegionCheck->isChecked()); // switched on as the box was chosen
    QTest::keyClicks(w.RegionEdit, "10,40,30,55");
    EXPECT_TRUE(w.Outline->isVisible());
    w.RegionCheck->click(); // hidden, and still the region fetched
    EXPECT_FALSE(w.Outline->isVisible());
    EXPECT_TRUE(w.Button6->isEnabled());
    w.RegionBox->setCurrentIndex(0); // the visible region is as it was
    EXPECT_FALSE(w.RegionCheck->isEnabled());
    EXPECT_TRUE(w.Label11->isVisible());
    EXPECT_FALSE(w.Outline->isVisible());
    EXPECT_TRUE(w.Label13->text().startsWith("Ориентировочный объем"));
}

TEST_F(WindowTest, PrefillOfABoxFetchesEachOfItsTilesOnce) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.RegionBox->setCurrentIndex(2);
    w.RegionEdit->setText("-10.5,35.2,3.3,43.8");
    w.LevelsEdit->setText("3-4");
    w.RegionEdit->textEdited(w.RegionEdit->text());
    ASSERT_TRUE(w.Button6->isEnabled()) << w.Label13->text().toStdString();
    const GeoRegion box = *GeoRegion::Box(-10.5, 35.2, 3.3, 43.8);
    const std::size_t tiles = ExpectedCount(box, 3, 4);
    http.requests.clear();
    for (std::size_t i = 0; i < tiles; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::blue));
    w.Button6->click();
    QStringList region; // the view of level 1 is loaded again at the end
    for (const QString& url : http.requests)
        if (url.size() > prefix.size() + 1)
            region << url;
    EXPECT_EQ(region.size(), static_cast<qsizetype>(tiles));
    const QSet<QString> asked(region.begin(), region.end());
    EXPECT_EQ(asked.size(), static_cast<qsizetype>(tiles));
    for (int level = 3; level <= 4; ++level)
        for (const TileKey& key : IntersectingTiles(box.Polygons(), level))
            EXPECT_TRUE(asked.contains(Url(QString::fromStdString(key.Letters()))))
                << key.Letters();
    EXPECT_TRUE(w.isEnabled());
}

} // namespace
