#include "core/standings/standings.h"
#include "tests/support/member_times_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace quenmark {

TEST(Standings, PointsAndRecordOfACell) {
    const struct {
        const char* name;
        std::vector<int> times;
        int pointMax;
        int cell;
        std::vector<int> points;
        int record;
    } cases[] = {
        {"two share the best, the next is third", {70, 60, 60}, 200, 0, {195, 200, 200}, 60},
        {"60, 70, 70, 90 with 100", {60, 70, 70, 90}, 100, 17, {100, 97, 97, 94}, 60},
        {"all N/A: the record is the penalty", {1200, 1200, 1200}, 150, 41, {150, 150, 150}, 1200},
        {"10 down to 0", {1, 2, 3, 4, 5, 6, 7, 8, 9}, 10, 5, {10, 7, 5, 4, 3, 2, 1, 0, 0}, 1},
        {"times above the no-record value still rank", {12000, 11000}, 200, 0, {197, 200}, 10000},
        {"one member holds the record", {60}, 75, 40, {75}, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemberTable members(c.times.size());
        for (std::size_t i = 0; i < c.times.size(); ++i) {
            members[i].Times = filled(500);
            members[i].Times[c.cell] = static_cast<std::int16_t>(c.times[i]);
        }
        const RecordTable records = computeStandings(members, c.pointMax);
        for (std::size_t i = 0; i < c.times.size(); ++i)
            EXPECT_EQ(members[i].Points[c.cell], c.points[i]) << "member " << i;
        EXPECT_EQ(records[c.cell], c.record);
        EXPECT_EQ(records[(c.cell + 1) % kCellCount], 500); // the other cells: all 500
    }
    MemberTable none;
    EXPECT_EQ(computeStandings(none, 200), filled(kNoRecord));
}

// The rule as written: each cell's times sorted; a member's place is the first
// position holding his time.
TEST(Standings, SameResultsAsASortOfEachCell) {
    std::mt19937 random(42);
    for (int round = 0; round < 60; ++round) {
        const int pointMax = round % 2 ? 10 : 200;
        // Narrow spans of times, duplicates and penalties; every third round
        // the whole 16-bit range, negative times included.
        const bool wide = round % 3 == 2;
        MemberTable members(1 + random() % 40);
        for (auto& m : members)
            for (auto& t : m.Times)
                t = static_cast<std::int16_t>(wide ? static_cast<int>(random() % 65536) - 32768
                                              : random() % 8 == 0
                                                  ? 1200
                                                  : 50 + static_cast<int>(random() % 20));
        const MemberTable before = members;
        computeStandings(members, pointMax);
        for (int cell = 0; cell < kCellCount; ++cell) {
            std::vector<int> sorted;
            for (const auto& m : before)
                sorted.push_back(m.Times[cell]);
            std::ranges::sort(sorted);
            for (std::size_t i = 0; i < members.size(); ++i) {
                const auto place = std::ranges::lower_bound(sorted, before[i].Times[cell]);
                ASSERT_EQ(members[i].Points[cell],
                          pointsForPlace(static_cast<int>(place - sorted.begin()), pointMax))
                    << "round " << round << ", member " << i << ", cell " << cell;
                ASSERT_EQ(members[i].Times[cell], before[i].Times[cell]);
            }
        }
    }
}

} // namespace quenmark
