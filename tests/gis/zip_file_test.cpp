// SPDX-License-Identifier: GPL-3.0-or-later
// ZIP archives as unzip reads them.
#include "gis/zip_file.h"

#include "tests/support/gdal_readback.h"
#include "tests/support/temp_dir.h"

#include <QDate>
#include <QStandardPaths>

TEST(ZipFile, EveryEntryIsDatedWhenTheArchiveWasMade) {
    if (QStandardPaths::findExecutable("zipinfo").isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    TempDir dir;
    ZipFile zip;
    ASSERT_TRUE(zip.Create(dir.file("a.kmz")));
    ASSERT_TRUE(zip.Add("doc.kml", QByteArray(1000, 'k'), true));
    ASSERT_TRUE(zip.Add("files/0.jpg", QByteArray(300, 'j'), false));
    const QString before = QDate::currentDate().toString("yyyyMMdd");
    ASSERT_TRUE(zip.Close()) << zip.ErrorText().toStdString();
    const QString after = QDate::currentDate().toString("yyyyMMdd");
    // zipinfo -T prints each entry's date as yyyymmdd.hhmmss; unzip -t checks the rest.
    const QString listing = QString::fromUtf8(ProgramOutput("zipinfo", {"-T", dir.file("a.kmz")}));
    for (const char* entry : {"doc.kml", "files/0.jpg"}) {
        const QString line = listing.split('\n').filter(entry).value(0);
        EXPECT_TRUE(line.contains(before + '.') || line.contains(after + '.'))
            << line.toStdString();
    }
    EXPECT_TRUE(ProgramOutput("unzip", {"-t", dir.file("a.kmz")}).contains("No errors"));
}
