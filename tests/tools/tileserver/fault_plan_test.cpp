// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/fault_plan.h"
#include "tools/tileserver/tile_reply.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace tileserver;

namespace {

std::vector<Fault> Draw(FaultPlan plan, int count) {
    std::vector<Fault> faults;
    for (int i = 0; i < count; ++i)
        faults.push_back(plan.Next());
    return faults;
}

} // namespace

TEST(FaultPlan, SameSeedGivesSameSequenceAndOtherSeedsDiffer) {
    EXPECT_EQ(Draw(FaultPlan(0.3, 42), 500), Draw(FaultPlan(0.3, 42), 500));
    EXPECT_NE(Draw(FaultPlan(0.3, 42), 500), Draw(FaultPlan(0.3, 43), 500));
    EXPECT_EQ(FaultPlan(0.3, 42).FaultFor(17), Draw(FaultPlan(0.3, 42), 18).back());
}

TEST(FaultPlan, HitsTheRateAndUsesEveryKind) {
    const int draws = 20000;
    for (double rate : {0.05, 0.3, 0.9}) {
        std::map<Fault, int> counts;
        for (Fault f : Draw(FaultPlan(rate, 7), draws))
            ++counts[f];
        const double share = 1.0 - static_cast<double>(counts[Fault::None]) / draws;
        EXPECT_NEAR(share, rate, 0.02) << rate;
        EXPECT_EQ(counts.size(), 7u) << "every fault kind and clean replies at rate " << rate;
    }
    const std::vector<Fault> never = Draw(FaultPlan(0, 7), 2000);
    EXPECT_EQ(std::count(never.begin(), never.end(), Fault::None), 2000);
    const std::vector<Fault> always = Draw(FaultPlan(1, 7), 2000);
    EXPECT_EQ(std::count(always.begin(), always.end(), Fault::None), 0);
}

TEST(TileReply, CutBodyIsAStrictPrefixThatNeverEndsInTheEndMarker) {
    // Built so that halving it lands right after an FF D9 pair.
    const std::string jpeg =
        "\xFF\xD8" + std::string(96, 'x') + "\xFF\xD9" + std::string(98, 'y') + "\xFF\xD9";
    ASSERT_EQ(jpeg.size(), 200u);
    const std::optional<HttpReply> reply = TileReply(jpeg, Fault::CutBody, "");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    const std::string& body = reply->body;
    ASSERT_GT(body.size(), 4u);
    EXPECT_LT(body.size(), jpeg.size());
    EXPECT_EQ(jpeg.compare(0, body.size(), body), 0);
    EXPECT_FALSE(body.ends_with("\xFF\xD9"));
}
