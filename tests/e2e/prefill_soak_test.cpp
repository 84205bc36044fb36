// SPDX-License-Identifier: GPL-3.0-or-later
// A long prefill against a demo server that spoils a fifth of its replies: every fault must
// be counted once, of the right kind, and none may leave a damaged tile in the cache.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/served_tiles.h"

#include "batch/jobs/prefill_job.h"
#include "net/http_client.h"
#include "sources/tile_source.h"
#include "tests/support/fake_front_end.h"
#include "tiles/view_moves.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>
#include <map>

namespace {

// Every quadrant path of this many letters.
QSet<QString> AllPaths(int level) {
    QSet<QString> paths{QString()};
    for (int i = 0; i < level; ++i) {
        QSet<QString> longer;
        for (const QString& path : paths)
            for (QChar letter : QStringLiteral("qrst"))
                longer.insert(path + letter);
        paths = longer;
    }
    return paths;
}

TEST(PrefillSoak, ThousandTilesAtAFifthFaultyKeepCountersAndCacheExact) {
    TempDir dir, cache;
    const QString worldPath = WriteQuadrantWorld(dir);
    DemoServerProcess server(worldPath, {"--fault-rate", "0.2", "--seed", "7"}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    const QString prefix = server.TilePrefix();
    HttpClient http;
    TileCounters counters;
    // Three attempts per tile and limits no run reaches, so the job goes to the end.
    const BatchSettings settings{BatchRetry{3, 1, 500, 500, 500}, false};
    FakeFrontEnd front;
    JobServices services = front.Services(
        ViewSource{std::make_shared<PrefixTileSource>(server.TilePrefix(), cache.path()),
                   WorkMode::CacheAndInternet, http});
    // The retry pauses would make a thousand tiles take minutes; they are kept but not slept.
    services.sleepMs = [](int) {};

    // The whole world at level 1, filled four levels down: 1024 tiles at level 5.
    const ViewUrls view = ViewRefs(BlockFromAnchor("q"), 0).OnPrefix(prefix);
    constexpr int kDepth = 5;
    ASSERT_EQ(RunPrefill({view, kDepth, settings, counters}, services, front, front),
              JobEnding::Done);
    ASSERT_EQ(server.Stop(), 0);

    const std::vector<std::string> faults = server.InjectedFaults();
    for (const char* kind : {"500", "404", "empty", "cut", "drop", "redirect"})
        ASSERT_GT(InjectedCount(faults, kind), 0) << kind << ": the seed should exercise it";
    const TileCounters expected = CountersForFaults(faults);
    EXPECT_EQ(counters.receiveErrors, expected.receiveErrors);
    EXPECT_EQ(counters.badFileErrors, expected.badFileErrors);
    EXPECT_EQ(counters.writeErrors, 0);

    ExpectOnlyCleanTilesIn(cache, worldPath);

    // Per tile: whether a clean reply came, and how many attempts failed.
    std::map<QString, int> failed;
    QSet<QString> delivered;
    for (const ServedTile& served : ServedTiles(server)) {
        const QString path = QString::fromStdString(served.key).mid(1);
        if (served.fault.empty())
            delivered.insert(path);
        else if (served.fault != "redirect")
            ++failed[path];
    }
    QSet<QString> cached;
    for (const QString& file : QDir(cache.path()).entryList(QDir::Files))
        cached.insert(file.chopped(4));

    const QSet<QString> region = AllPaths(kDepth);
    ASSERT_EQ(region.size(), 1024);
    EXPECT_EQ(cached, delivered);
    EXPECT_TRUE((cached - region).isEmpty());
    // A tile missing from the cache is one whose every attempt failed.
    for (const QString& path : region - cached)
        EXPECT_EQ(failed[path], settings.retry.attempts) << path.toStdString();
}

} // namespace
