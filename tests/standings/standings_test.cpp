#include "standings/standings.h"

#include <gtest/gtest.h>
#include <random>

namespace {

MemberTable membersWithCell(const std::vector<int>& times, int cell = 0) {
    MemberTable members(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        members[i].Times.fill(500);
        members[i].Times[cell] = static_cast<std::int16_t>(times[i]);
    }
    return members;
}

std::vector<int> pointsOf(const MemberTable& members, int cell = 0) {
    std::vector<int> points;
    for (const auto& m : members)
        points.push_back(m.Points[cell]);
    return points;
}

// The rule as written: bubble sort of the cell's times, then place =
// first position holding the member's time, points by the table.
CellTimes referencePoints(const MemberTable& members, std::size_t i, int pointMax) {
    CellTimes points{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        std::vector<int> sorted;
        for (const auto& m : members)
            sorted.push_back(m.Times[cell]);
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (std::size_t j = 0; j + 1 < sorted.size(); ++j)
                if (sorted[j + 1] < sorted[j]) {
                    std::swap(sorted[j], sorted[j + 1]);
                    swapped = true;
                }
        }
        int k = 0;
        while (sorted[k] != members[i].Times[cell])
            ++k;
        int p = k == 0   ? pointMax
                : k == 1 ? pointMax - 3
                : k == 2 ? pointMax - 5
                         : pointMax - 3 - k;
        if (k >= 3 && p < 0)
            p = 0;
        points[cell] = static_cast<std::int16_t>(p);
    }
    return points;
}

} // namespace

TEST(Standings, PointsByPlace) {
    const int p200[] = {200, 197, 195, 194, 193, 192, 191, 190, 189};
    const int p25[] = {25, 22, 20, 19, 18, 17, 16, 15, 14};
    const int p10[] = {10, 7, 5, 4, 3, 2, 1, 0, 0};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(pointsForPlace(k, 200), p200[k]);
        EXPECT_EQ(pointsForPlace(k, 25), p25[k]);
        EXPECT_EQ(pointsForPlace(k, 10), p10[k]);
    }
    EXPECT_EQ(pointsForPlace(100, 10), 0);
}

TEST(Standings, TwoShareTheBestTimeAndTheNextIsThird) {
    MemberTable members = membersWithCell({70, 60, 60});
    const RecordTable records = computeStandings(members, 200);
    EXPECT_EQ(pointsOf(members), (std::vector<int>{195, 200, 200}));
    EXPECT_EQ(records[0], 60);
}

TEST(Standings, SixtySeventySeventyNinety) {
    MemberTable members = membersWithCell({60, 70, 70, 90}, 17);
    const RecordTable records = computeStandings(members, 100);
    EXPECT_EQ(pointsOf(members, 17), (std::vector<int>{100, 97, 97, 94}));
    EXPECT_EQ(records[17], 60);
    EXPECT_EQ(records[0], 500);
}

TEST(Standings, AllNotAvailableShareThePlaceAndTheRecordIsThePenalty) {
    MemberTable members = membersWithCell({1200, 1200, 1200}, 41);
    const RecordTable records = computeStandings(members, 150);
    EXPECT_EQ(pointsOf(members, 41), (std::vector<int>{150, 150, 150}));
    EXPECT_EQ(records[41], 1200);
}

TEST(Standings, OneMemberHoldsEveryRecord) {
    MemberTable members(1);
    for (int c = 0; c < kCellCount; ++c)
        members[0].Times[c] = static_cast<std::int16_t>(60 + c);
    const RecordTable records = computeStandings(members, 75);
    for (int c = 0; c < kCellCount; ++c) {
        EXPECT_EQ(records[c], 60 + c);
        EXPECT_EQ(members[0].Points[c], 75);
    }
}

TEST(Standings, NoMembers) {
    MemberTable members;
    const RecordTable records = computeStandings(members, 200);
    for (auto r : records)
        EXPECT_EQ(r, 10000);
}

TEST(Standings, TenPointsFloorAtZero) {
    std::vector<int> times;
    for (int i = 0; i < 12; ++i)
        times.push_back(100 + i);
    MemberTable members = membersWithCell(times);
    computeStandings(members, 10);
    EXPECT_EQ(pointsOf(members), (std::vector<int>{10, 7, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0}));
}

TEST(Standings, TimesAboveTheNoRecordValueStillRank) {
    MemberTable members = membersWithCell({12000, 11000});
    const RecordTable records = computeStandings(members, 200);
    EXPECT_EQ(records[0], 10000); // no time is below the starting value
    EXPECT_EQ(pointsOf(members), (std::vector<int>{197, 200}));
}

TEST(Standings, TimesAreLeftAsTheyAre) {
    MemberTable members = membersWithCell({90, 60});
    const MemberTable before = members;
    computeStandings(members, 200);
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(members[i].Times, before[i].Times);
}

TEST(Standings, SameResultsAsTheBubbleSortOfThePart) {
    std::mt19937 random(42);
    for (int round = 0; round < 60; ++round) {
        const int n = 1 + static_cast<int>(random() % 40);
        const int pointMax = round % 2 ? 10 : 200;
        // Narrow spans of times, duplicates and penalties; every third round
        // the whole 16-bit range, negative times included.
        const bool wide = round % 3 == 2;
        MemberTable members(static_cast<std::size_t>(n));
        for (auto& m : members)
            for (auto& t : m.Times)
                t = static_cast<std::int16_t>(wide ? static_cast<int>(random() % 65536) - 32768
                                              : random() % 8 == 0
                                                  ? 1200
                                                  : 50 + static_cast<int>(random() % 20));
        computeStandings(members, pointMax);
        for (std::size_t i = 0; i < members.size(); ++i)
            ASSERT_EQ(members[i].Points, referencePoints(members, i, pointMax))
                << "round " << round << ", member " << i;
    }
}
