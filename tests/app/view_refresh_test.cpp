// SPDX-License-Identifier: GPL-3.0-or-later
// The view asking its template source again about cached tiles, as the settings tab says.
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/scripted_tcp_server.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <atomic>
#include <mutex>

namespace {

class ViewRefreshTest : public WindowTest {
protected:
    void SetUp() override {
        home.write("MySources.ini",
                   QStringLiteral("[near]\nurl = %1\nlevels = 1-3\nconnections = 1\nrate = 1000\n")
                       .arg(server.Url(QStringLiteral("/{z}/{x}/{y}.jpg")))
                       .toUtf8());
        Settings settings = DesignSettings();
        settings.sourceName = "near";
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings),
                                 AddedSettingsLinesOf(settings)));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    }
    // Every cached file as if fetched two days ago.
    void AgeCache() {
        QDirIterator files(home.file("Cash"), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-2),
                                         QFileDevice::FileModificationTime));
        }
    }
    QStringList Asked() {
        std::lock_guard lock(mutex);
        return asked;
    }
    QByteArray Answer(const QByteArray& request) {
        {
            std::lock_guard lock(mutex);
            asked.append(QString::fromLatin1(request));
        }
        if (status == 304)
            return "HTTP/1.1 304 Not Modified\r\nConnection: close\r\n\r\n";
        if (status != 200)
            return "HTTP/1.1 500 Internal Server Error\r\nConnection: close\r\n"
                   "Content-Length: 0\r\n\r\n";
        return "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Type: image/jpeg\r\n"
               "Content-Length: " +
               QByteArray::number(tile.size()) + "\r\n\r\n" + tile;
    }

    const QByteArray tile = MakeTestJpeg(256, 256, Qt::darkCyan);
    std::atomic<int> status{200};
    std::mutex mutex;
    QStringList asked; // each request's head
    // Last: stopped before what it answers from goes away.
    ScriptedTcpServer server{{}, [this](const QByteArray& request) { return Answer(request); }};
};

} // namespace

TEST_F(ViewRefreshTest, CachedTilesAreAskedAboutOnlyWhenSetAndAFailedRefreshKeepsThemShown) {
    TForm1& w = Open();
    const qsizetype fetched = Asked().size();
    ASSERT_GT(fetched, 0);
    AgeCache();

    // Off, as by default: old tiles are shown from the cache without asking.
    w.RefreshView();
    EXPECT_EQ(Asked().size(), fetched);
    EXPECT_FALSE(Panel(3).contains("проверено"));

    w.RefreshDaysUpDown->setValue(1);
    status = 304;
    w.RefreshView();
    const QStringList conditional = Asked();
    ASSERT_EQ(conditional.size(), 2 * fetched);
    for (qsizetype i = fetched; i < conditional.size(); ++i)
        EXPECT_TRUE(conditional[i].contains("If-Modified-Since:", Qt::CaseInsensitive))
            << conditional[i].toStdString();
    EXPECT_TRUE(
        Panel(3).endsWith(QStringLiteral("проверено %1, заменено 0, устарело 0").arg(fetched)))
        << Panel(3).toStdString();
    w.RefreshView(); // confirmed tiles are young again
    EXPECT_EQ(Asked().size(), 2 * fetched);

    AgeCache();
    status = 500;
    w.RefreshView();
    EXPECT_GT(Asked().size(), 2 * fetched);
    EXPECT_TRUE(Panel(3).endsWith(QStringLiteral("устарело %1").arg(fetched)))
        << Panel(3).toStdString();
    for (const TileImage* image : w.images)
        EXPECT_FALSE(image->pixmap().isNull());
    Close();

    // Kept after the source and the starting size's empty line.
    QFile file(home.file("ORB.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), kSettingsLineCount + 4);
    EXPECT_EQ(lines[SettingsLine::RefreshDays], "1\r");
    EXPECT_EQ(Open().RefreshDaysUpDown->value(), 1);
}
