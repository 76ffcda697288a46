#include "core/standings/enforced_times.h"
#include "tests/support/member_times_fixture.h"

#include <gtest/gtest.h>
#include <random>

namespace quenmark {

namespace {

constexpr int kPenalty = 1800;

// The rule as written: the whole file scanned for one member, every entry of
// his name applied in file order.
void applyByScan(const std::vector<EnforcedTime>& entries, MemberRecord& m) {
    for (const EnforcedTime& e : entries) {
        const auto value = enforcedTimeValue(e.time, kPenalty);
        if (e.memberName == m.Name && e.complete && e.level >= 0 && e.level <= 13 &&
            e.difficulty >= 0 && e.difficulty <= 2 && value)
            m.Times[e.level + 14 * e.difficulty] = *value;
    }
}

} // namespace

TEST(EnforcedTimes, ValueOfATimeText) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"1:05", 65},       {"12:34", 754},       {"0:03", 3},          {"0:00", 0},
        {"N/A", kPenalty},  {"n/a", kPenalty},    {"N/a", kPenalty},    {":07", 7},
        {"1:5", 0},         {"90:00", 5400},      {"abc", 0},           {"1.5:30", 120},
        {"", std::nullopt}, {"59", std::nullopt}, {"NA", std::nullopt}, {" N/A", 0},
        {"N/AD", 0},        {"-1:05", -55},
    };
    for (const auto& c : cases)
        EXPECT_EQ(enforcedTimeValue(c.text, kPenalty), c.value) << c.text;
}

TEST(EnforcedTimes, ReadFromTheFileOnceGivesWhatAScanPerMemberGives) {
    // Random files with duplicates, names differing only in case or by a blank,
    // names of no member, levels and difficulties outside the table, entries cut
    // short and every kind of time text.
    std::mt19937 random(20261206);
    const std::vector<std::string> names = {"Ann", "ann", "ANN", "Bob", "Bob ", "Cy", "Dee"};
    const std::vector<std::string> times = {"1:05", "n/a",  "N/A",  "0:03",  "12:34", "",
                                            "7",    "x:yz", "0:00", "99:99", "N/AD"};
    for (int round = 0; round < 200; ++round) {
        std::vector<EnforcedTime> entries;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            const int level = static_cast<int>(random() % 16) - 1;
            const int difficulty = static_cast<int>(random() % 5) - 1;
            entries.push_back({names[random() % names.size()], std::to_string(level),
                               std::to_string(difficulty), times[random() % times.size()], level,
                               difficulty, random() % 20 != 0});
        }
        const EnforcedTimes once(entries, kPenalty);
        for (const std::string& name : names) {
            MemberRecord a;
            a.Name = name;
            a.Times = timesFrom(100);
            MemberRecord b = a;
            once.apply(a);
            applyByScan(entries, b);
            ASSERT_EQ(a.Times, b.Times) << "round " << round << ", " << name;
        }
    }
}

} // namespace quenmark
