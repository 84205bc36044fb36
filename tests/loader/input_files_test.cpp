// SPDX-License-Identifier: GPL-3.0-or-later
// The files the program takes in, when they are not what they should be: each is refused at
// once with its reason, never waited on or read without bound.
#include "net/curl_transport.h"
#include "sources/source_catalog.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(InputFiles, WhatIsNoSmallRegularFileIsRefusedAtOnceWithItsReason) {
    const struct {
        const char* what;
        const char* reason;
    } cases[] = {
        {"pipe", "not a regular file"},   {"device", "not a regular file"},
        {"folder", "not a regular file"}, {"dangling", "a symbolic link to a missing file"},
        {"huge", "larger than"},          {"missing", "no such file"},
    };
    TempDir dir;
    dir.write("Sources.ini", "[demo]\n");
    ::mkfifo(QFile::encodeName(dir.file("pipe")).constData(), 0600); // no writer: open blocks
    QFile::link("/dev/zero", dir.file("device"));
    QDir().mkdir(dir.file("folder"));
    QFile::link("/nonexistent/orbivist", dir.file("dangling"));
    QFile huge(dir.file("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxCaFileBytes + 1)); // sparse
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.file(c.what);
        QElapsedTimer clock;
        clock.start();
        const SourceCatalog asUserFile = LoadSourceCatalog(dir.file("Sources.ini"), path);
        const SourceCatalog asShippedFile = LoadSourceCatalog(path, {});
        const QString asCaFile = CaFileProblem(path);
        // Nor is it handed to libcurl, which would wait on it beyond the reach of a cancel.
        QString transferMessage;
        TransportSettings settings;
        settings.caFile = path;
        CurlTransport(1, settings)
            .FetchAll(
                {"https://127.0.0.1:1/1/0/0.jpg"},
                [&](qsizetype, UrlFetch f) { transferMessage = f.message; }, [] { return true; });
        EXPECT_LT(clock.elapsed(), 2000);
        // A missing user file is normal.
        EXPECT_EQ(asUserFile.problems.size(), c.what == std::string("missing") ? 0 : 1);
        ASSERT_EQ(asShippedFile.problems.size(), 1);
        EXPECT_EQ(asShippedFile.problems[0].left(path.size() + 18), path + ": cannot be read: ");
        EXPECT_TRUE(asShippedFile.problems[0].contains(c.reason));
        EXPECT_EQ(asShippedFile.sources.size(), 1u); // the demo source still
        EXPECT_TRUE(asCaFile.startsWith("the certificate file " + path + ": " + c.reason));
        EXPECT_EQ(transferMessage, asCaFile);
    }
}
