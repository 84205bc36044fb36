// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/validator_index.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

TEST(ValidatorIndex, KeepsWhatTheServerSaidAcrossRunsAndStartsAfreshWhenDamaged) {
    TempDir folder;
    const ReplyValidators tagged{"\"a1\"", 1000, 5000, true};
    {
        ValidatorIndex index(folder.path(), std::nullopt);
        ASSERT_TRUE(index.Usable());
        EXPECT_FALSE(index.Find("q.jpg"));
        for (int i = 0; i < ValidatorIndex::kBatch + 3; ++i) // more than one batch
            index.Put(QStringLiteral("t%1.jpg").arg(i), tagged, 100);
        // A 304 without a tag or a time keeps those of before, with its own freshness.
        index.Put("t0.jpg", ReplyValidators{{}, 0, 9000, true}, 100);
    }
    {
        ValidatorIndex index(folder.path(), 7 * 24 * 3600);
        EXPECT_EQ(index.Find("t0.jpg"), (ReplyValidators{"\"a1\"", 1000, 9000, false}));
        EXPECT_EQ(index.Find(QStringLiteral("t%1.jpg").arg(ValidatorIndex::kBatch + 2)),
                  (ReplyValidators{"\"a1\"", 1000, 5000, false}));
        // The source's own max-age where the server said nothing.
        index.Put("plain.jpg", ReplyValidators{}, 100);
        EXPECT_EQ(index.Find("plain.jpg")->freshUntilSecs, 100 + 7 * 24 * 3600);
    }
    // A file that is no database is replaced by an empty index; the tiles are untouched.
    folder.write(ValidatorIndex::kFileName, QByteArray(4096, 'x'));
    folder.write("t0.jpg", "tile");
    ValidatorIndex index(folder.path(), std::nullopt);
    ASSERT_TRUE(index.Usable());
    EXPECT_FALSE(index.Find("t0.jpg"));
    index.Put("t0.jpg", tagged, 100);
    EXPECT_TRUE(index.Find("t0.jpg"));
    EXPECT_EQ(folder.read("t0.jpg"), "tile");
    // Listing the tiles never meets the index.
    EXPECT_TRUE(QString(ValidatorIndex::kFileName).startsWith('.'));
}
