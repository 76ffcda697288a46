#include "pages/standing_ranks.h"
#include "pages/time_text.h"

#include <gtest/gtest.h>
#include <random>

namespace {

TEST(TimeText, Forms) {
    struct Case {
        std::int64_t seconds;
        const char* minutes;
        const char* hours;
        const char* clock;
    };
    const Case cases[] = {
        {0, "0:00", "0:00:00", "0:00"},
        {59, "0:59", "0:00:59", "0:59"},
        {60, "1:00", "0:01:00", "1:00"},
        {65, "1:05", "0:01:05", "1:05"},
        {75, "1:15", "0:01:15", "1:15"},
        {125, "2:05", "0:02:05", "2:05"},
        {754, "12:34", "0:12:34", "12:34"},
        {3599, "59:59", "0:59:59", "59:59"},
        {3600, "60:00", "1:00:00", "1:00:00"},
        {3725, "62:05", "1:02:05", "1:02:05"},
        {4000, "66:40", "1:06:40", "1:06:40"},
        {10000, "166:40", "2:46:40", "2:46:40"},
        {140000, "2333:20", "38:53:20", "38:53:20"},
        {420000, "7000:00", "116:40:00", "116:40:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(formatMinutes(c.seconds), c.minutes);
        EXPECT_EQ(formatHours(c.seconds), c.hours);
        EXPECT_EQ(formatClock(c.seconds), c.clock);
    }
}

TEST(StandingRanks, TiesShareARankAndSkipTheNext) {
    const std::vector<std::int64_t> totals = {80, 90, 70, 80};
    const Standing higher = standingRanks(totals, Better::Higher);
    EXPECT_EQ(higher.rank, (std::vector<int>{2, 1, 4, 2}));
    EXPECT_EQ(higher.order, (std::vector<std::size_t>{1, 0, 3, 2}));
    const Standing lower = standingRanks(totals, Better::Lower);
    EXPECT_EQ(lower.rank, (std::vector<int>{2, 4, 1, 2}));
    EXPECT_EQ(lower.order, (std::vector<std::size_t>{2, 0, 3, 1}));
    EXPECT_TRUE(standingRanks({}, Better::Higher).order.empty());
}

// The rule itself, member by member: 1 plus the number of strictly better
// totals; table order by rank, then roster order.
TEST(StandingRanks, MatchesCountingBetterTotals) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const int count = 1 + static_cast<int>(random() % 300);
        std::vector<std::int64_t> totals(count);
        for (auto& total : totals)
            total = static_cast<std::int64_t>(random() % 20) - 5;
        for (Better better : {Better::Higher, Better::Lower}) {
            const Standing standing = standingRanks(totals, better);
            std::vector<std::pair<int, std::size_t>> expectedOrder;
            for (int i = 0; i < count; ++i) {
                int rank = 1;
                for (int j = 0; j < count; ++j)
                    rank +=
                        better == Better::Higher ? totals[j] > totals[i] : totals[j] < totals[i];
                ASSERT_EQ(standing.rank[i], rank);
                expectedOrder.emplace_back(rank, i);
            }
            std::sort(expectedOrder.begin(), expectedOrder.end());
            for (int k = 0; k < count; ++k)
                ASSERT_EQ(standing.order[k], expectedOrder[k].second);
        }
    }
}

} // namespace
