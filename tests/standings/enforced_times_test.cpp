#include "app/model/leading_number.h"
#include "standings/enforced_times.h"
#include "tests/support/temp_folder.h"

#include <cctype>
#include <gtest/gtest.h>
#include <random>

namespace {

constexpr int kPenalty = 1800;

EnforcedTime entry(const std::string& name, int level, int difficulty, const std::string& time,
                   bool complete = true) {
    return {name,    std::to_string(level), std::to_string(difficulty), time, level, difficulty,
            complete};
}

MemberRecord member(const std::string& name) {
    MemberRecord m;
    m.Name = name;
    for (int c = 0; c < kCellCount; ++c)
        m.Times[c] = static_cast<std::int16_t>(100 + c);
    return m;
}

// The rule as written: the whole file scanned for one member, every
// entry of his name applied in file order.
void applyByScan(const std::vector<EnforcedTime>& entries, MemberRecord& m, int penalty) {
    for (const EnforcedTime& e : entries) {
        if (e.memberName != m.Name)
            continue;
        if (!e.complete || e.level < 0 || e.level > 13 || e.difficulty < 0 || e.difficulty > 2)
            continue;
        std::string upper = e.time;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        double value;
        if (upper == "N/A")
            value = penalty;
        else if (e.time.size() < 3)
            continue;
        else
            value = leadingNumber(e.time.substr(0, e.time.size() - 3)) * 60 +
                    leadingNumber(e.time.substr(e.time.size() - 2));
        m.Times[e.level + 14 * e.difficulty] = toInt16(value);
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto got = enforcedTimeValue(c.text, kPenalty);
        ASSERT_EQ(got.has_value(), c.value.has_value());
        if (got) {
            EXPECT_EQ(*got, *c.value);
        }
    }
}

TEST(EnforcedTimes, BadEntriesAreSkipped) {
    EXPECT_EQ(enforcedTimeCell(entry("Ann", 13, 2, "1:00")), 41);
    EXPECT_EQ(enforcedTimeCell(entry("Ann", 1, 1, "1:00")), 15);
    EXPECT_FALSE(enforcedTimeCell(entry("Ann", 14, 0, "1:00")));
    EXPECT_FALSE(enforcedTimeCell(entry("Ann", -1, 0, "1:00")));
    EXPECT_FALSE(enforcedTimeCell(entry("Ann", 0, 3, "1:00")));
    EXPECT_FALSE(enforcedTimeCell(entry("Ann", 0, -1, "1:00")));
    EXPECT_FALSE(enforcedTimeCell(entry("Ann", 0, 0, "1:00", false)));

    MemberRecord ann = member("Ann");
    const MemberRecord before = ann;
    EnforcedTimes({entry("Ann", 14, 0, "0:01"), entry("Ann", 0, 3, "0:01"),
                   entry("Ann", 0, 0, "59"), entry("Ann", 0, 1, "0:01", false)},
                  kPenalty)
        .apply(ann);
    EXPECT_EQ(ann.Times, before.Times);
}

TEST(EnforcedTimes, AppliedToTheMembersCells) {
    MemberRecord ann = member("Ann");
    EnforcedTimes({entry("Ann", 0, 0, "N/A"), entry("Ann", 13, 2, "0:03"),
                   entry("Bob", 1, 0, "0:09"), entry("ann", 2, 0, "0:09")},
                  kPenalty)
        .apply(ann);
    MemberRecord expected = member("Ann");
    expected.Times[0] = kPenalty;
    expected.Times[41] = 3; // not tested for plausibility
    EXPECT_EQ(ann.Times, expected.Times);
}

TEST(EnforcedTimes, TheLaterEntryForACellWins) {
    MemberRecord ann = member("Ann");
    EnforcedTimes({entry("Ann", 5, 1, "1:00"), entry("Bob", 5, 1, "3:00"),
                   entry("Ann", 5, 1, "2:00"), entry("Ann", 5, 1, "9")},
                  kPenalty)
        .apply(ann);
    EXPECT_EQ(ann.Times[cellIndex(5, 1)], 120); // the short "9" is skipped
}

TEST(EnforcedTimes, MissingFileStopsWithTheMessage) {
    TempFolder folder;
    EXPECT_FALSE(EnforcedTimes::read(folder.path(), kPenalty));
    const OperatorMessage message = timesFileMissingMessage();
    EXPECT_EQ(message.title, "Error");
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.text, "\"times.dat\" was not found. Go into Members, then Enforce Times to "
                            "have a new file created.");
    folder.write("times.dat", "");
    EXPECT_TRUE(EnforcedTimes::read(folder.path(), kPenalty));
}

TEST(EnforcedTimes, ReadFromTheFileOnceGivesWhatAScanPerMemberGives) {
    // Random files with duplicates, names differing only in case, names of no
    // member, bad entries and every kind of time text.
    std::mt19937 random(20261206);
    const std::vector<std::string> names = {"Ann", "ann", "ANN", "Bob", "Bob ", "Cy", "Dee"};
    const std::vector<std::string> times = {"1:05", "n/a",  "N/A",  "0:03",  "12:34", "",
                                            "7",    "x:yz", "0:00", "99:99", "N/AD"};
    for (int round = 0; round < 200; ++round) {
        std::vector<EnforcedTime> entries;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i)
            entries.push_back(entry(names[random() % names.size()],
                                    static_cast<int>(random() % 16) - 1,
                                    static_cast<int>(random() % 5) - 1,
                                    times[random() % times.size()], random() % 20 != 0));
        const EnforcedTimes once(entries, kPenalty);
        for (const std::string& name : names) {
            MemberRecord a = member(name), b = member(name);
            once.apply(a);
            applyByScan(entries, b, kPenalty);
            ASSERT_EQ(a.Times, b.Times) << "round " << round << ", " << name;
        }
    }
}
