#include "core/files/enforced_times_file.h"
#include "tests/support/member_times_fixture.h"

#include <gtest/gtest.h>
#include <optional>

namespace quenmark {

namespace {

// Each entry as "name [level text]=level [difficulty text]=difficulty time", "cut" when incomplete.
std::string described(const std::vector<EnforcedTime>& entries) {
    std::string text;
    for (const EnforcedTime& e : entries)
        text += e.memberName + " [" + e.levelText + "]=" + std::to_string(e.level) + " [" +
                e.difficultyText + "]=" + std::to_string(e.difficulty) + " " + e.time +
                (e.complete ? "; " : " cut; ");
    return text;
}

TEST(EnforcedTimesFile, ReadsEntriesInFileOrderWithTheirLinesAsRead) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {timesEntry("Ann", 3, 1, "1:05") + crlf({"Bob", "12", " 2.4 ", "n/a", "x"}),
         "Ann [ 3 ]=3 [ 1 ]=1 1:05; Bob [12]=12 [ 2.4 ]=2 n/a; "},
        {timesEntry("Ann", 0, 0, "1:00") + crlf({"Bob", " 4 "}),
         "Ann [ 0 ]=0 [ 0 ]=0 1:00; Bob [ 4 ]=4 []=0  cut; "},
        // Without its separator line an entry is whole: the line carries nothing.
        {crlf({"Bob", " 4 ", " 1 ", "2:00"}), "Bob [ 4 ]=4 [ 1 ]=1 2:00; "},
    };
    TempFolder folder;
    EXPECT_TRUE(readEnforcedTimes(folder.path()).empty()); // missing file
    for (const auto& [content, expected] : cases) {
        folder.write("times.dat", content);
        EXPECT_EQ(described(readEnforcedTimes(folder.path())), expected) << content;
    }
}

TEST(EnforcedTimesFile, FindMatchesTheNameWithLetterCaseAndPositionsByValueLastEntryWins) {
    TempFolder folder;
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 0, 0), ""); // missing file
    folder.write("times.dat", timesEntry("Ann", 3, 0, "1:00") + timesEntry("ann", 3, 0, "2:00") +
                                  crlf({"Ann", "3", "  1", "4:00", ""}) +
                                  timesEntry("Bo", 1, 1, "1:00") + timesEntry("Bo", 1, 1, "2:00"));
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 3, 0), "1:00");
    EXPECT_EQ(findEnforcedTime(folder.path(), "ann", 3, 0), "2:00");
    EXPECT_EQ(findEnforcedTime(folder.path(), "ANN", 3, 0), "");
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 3, 1), "4:00");
    EXPECT_EQ(findEnforcedTime(folder.path(), "Bo", 1, 1), "2:00");
}

TEST(EnforcedTimesFile, SetAppendsReplacesOrRemoves) {
    struct Case {
        const char* what;
        std::optional<std::string> before; // none: no file
        std::string name;
        int level, difficulty;
        std::string time, after;
    };
    const std::string bob = timesEntry("Bob", 1, 1, "2:00"), cy = timesEntry("Cy", 0, 0, "0:03");
    const Case cases[] = {
        {"creates a missing file", std::nullopt, "Ann", 13, 2, "9:59",
         timesEntry("Ann", 13, 2, "9:59")},
        {"replaces in place", bob + timesEntry("Ann", 3, 2, "N/A") + cy, "Ann", 3, 2, "1:30",
         bob + timesEntry("Ann", 3, 2, "1:30") + cy},
        {"replaces every duplicate", bob + bob, "Bob", 1, 1, "3:00",
         timesEntry("Bob", 1, 1, "3:00") + timesEntry("Bob", 1, 1, "3:00")},
        {"empty removes every match", bob + timesEntry("Ann", 1, 1, "1:01") + bob + cy, "Bob", 1, 1,
         "", timesEntry("Ann", 1, 1, "1:01") + cy},
        {"empty without a match", bob + cy, "Bob", 1, 2, "", bob + cy},
        {"removing the last entry empties the file", bob, "Bob", 1, 1, "", ""},
        {"an entry cut short stays apart from the one appended",
         timesEntry("Ann", 0, 0, "1:00") + "Bob\r\n 4", "Cy", 1, 2, "N/A",
         timesEntry("Ann", 0, 0, "1:00") + crlf({"Bob", " 4", "", "", ""}) +
             timesEntry("Cy", 1, 2, "N/A")},
        {"names keep letter case",
         bob + timesEntry("bob", 1, 1, "1:00") + crlf({"bob", "1", " 1.0", "x", ""}), "bob", 1, 1,
         "", bob},
        {"rewrite keeps lines as read and empties the fifth",
         crlf({"Ann", "03", "1.0", "1:00", "junk"}) + bob, "Bob", 1, 1, "0:00",
         crlf({"Ann", "03", "1.0", "1:00", ""}) + timesEntry("Bob", 1, 1, "0:00")},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.before)
            folder.write("times.dat", *c.before);
        setEnforcedTime(folder.path(), c.name, c.level, c.difficulty, c.time);
        EXPECT_EQ(folder.read("times.dat"), c.after) << c.what;
    }
}

} // namespace

} // namespace quenmark
