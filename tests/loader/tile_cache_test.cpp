// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_cache.h"
#include "tests/support/full_disk.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(TileCache, StoreReplacesTheFileButNeverCreatesTheDirectory) {
    TempDir dir;
    dir.write("q.jpg", "old contents");
    ASSERT_TRUE(StoreTileFile(dir.file("q.jpg"), "new"));
    EXPECT_EQ(dir.read("q.jpg"), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"q.jpg"});
    EXPECT_FALSE(StoreTileFile(dir.file("missing/q.jpg"), "new"));
    EXPECT_FALSE(dir.exists("missing"));
}

namespace {

// The size of a real tile that a full disk once cut to 4,096 bytes.
bool StoreTile(const QString& path, bool first) {
    return StoreTileFile(path, QByteArray(first ? 3000 : 5418, first ? 'o' : 'n'));
}

} // namespace

TEST(TileCache, FullDiskFailsTheStoreAndKeepsTheCachedTile) {
    ExpectFullDiskKeepsTheOldFile("q.jpg", StoreTile, 4096);
}

TEST(TileCache, FileSizeLimitFailsTheStoreAndKeepsTheCachedTile) {
    ExpectSizeLimitKeepsTheOldFile("q.jpg", StoreTile, 4096);
}

TEST(TileCache, ALinkNamedLikeATileIsReplacedNotFollowed) {
    TempDir cache;
    TempDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.file("planted"), cache.file("q.jpg")));
    ASSERT_TRUE(StoreTileFile(cache.file("q.jpg"), "tile"));
    EXPECT_FALSE(elsewhere.exists("planted"));
    EXPECT_FALSE(QFileInfo(cache.file("q.jpg")).isSymLink());
    EXPECT_EQ(cache.read("q.jpg"), "tile");
}

// A tile's file made before its bytes are known: stored in place, or gone without a trace.
TEST(TileCache, APreparedFileIsStoredWholeOrLeavesNothing) {
    struct Case {
        const char* name;
        bool prepared;
        bool stored;
        bool folderExists;
    } const cases[] = {
        {"prepared, then stored", true, true, true},
        {"stored without preparing", false, true, true},
        {"prepared, never stored", true, false, true},
        {"prepared where no folder is", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("q.jpg", "old");
        const QString path = c.folderExists ? dir.file("q.jpg") : dir.file("absent/q.jpg");
        {
            CachedTileWriter writer(path);
            if (c.prepared)
                writer.Prepare();
            if (c.stored) {
                EXPECT_EQ(writer.Store("new"), c.folderExists);
            }
        }
        const bool replaced = c.stored && c.folderExists;
        EXPECT_EQ(dir.read("q.jpg"), replaced ? "new" : "old");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"q.jpg"});
    }
}
