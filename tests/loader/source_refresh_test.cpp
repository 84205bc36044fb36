// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/source_refresh.h"
#include "loader/source_services.h"
#include "sources/source_cache_folder.h"
#include "tests/support/temp_dir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(SourceRefresh, TheJobsAndTheViewGetOneRuleOverOneIndex) {
    SourceDefinition demo = DemoSource();
    SourceDefinition osm;
    osm.name = QStringLiteral("osm");
    const struct {
        const SourceDefinition& source;
        std::optional<int> days;
        bool jobs, view, index;
    } cases[] = {
        {demo, std::nullopt, false, false, false},
        {demo, 3, true, false, false},          // the view's demo tiles are never asked about again
        {osm, std::nullopt, true, false, true}, // past the server's expiry only
        {osm, 0, true, true, true},
    };
    for (const auto& c : cases) {
        TempDir root;
        MakeSourceFolder(c.source, root.path());
        const SourceRefresh refresh(c.source, root.path(), c.days);
        SCOPED_TRACE(QStringLiteral("%1, %2 days")
                         .arg(c.source.name)
                         .arg(c.days.value_or(-1))
                         .toStdString());
        EXPECT_EQ(refresh.ForJobs() != nullptr, c.jobs);
        EXPECT_EQ(refresh.ForView() != nullptr, c.view);
        EXPECT_EQ(refresh.Asked(), c.days.has_value());
        if (const RefreshRule* rule = refresh.ForJobs()) {
            EXPECT_EQ(rule->index != nullptr, c.index);
            EXPECT_EQ(rule->olderThanSeconds,
                      c.days ? std::optional<std::int64_t>(*c.days * kSecondsPerDay)
                             : std::nullopt);
        }
        EXPECT_EQ(
            QFileInfo::exists(SourceCacheFolder(root.path(), c.source) + ValidatorIndex::kFileName),
            c.index);
        EXPECT_TRUE(refresh.Serves(c.source, root.path(), c.days));
        EXPECT_FALSE(refresh.Serves(c.source, root.path(), 7));
        EXPECT_FALSE(refresh.Serves(c.source, root.path() + "other/", c.days));
    }
}
