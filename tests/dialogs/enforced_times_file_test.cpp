#include "dialogs/enforced_times_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

// An entry as the dialog writes it: name, level and difficulty in number form,
// time text, empty line.
std::string entry(const std::string& name, int level, int difficulty, const std::string& time) {
    return crlf({name, " " + std::to_string(level) + " ", " " + std::to_string(difficulty) + " ",
                 time, ""});
}

} // namespace

TEST(EnforcedTimesFile, MissingOrEmptyFileHasNoEntries) {
    TempFolder folder;
    EXPECT_TRUE(readEnforcedTimes(folder.path()).empty());
    folder.write("times.dat", "");
    EXPECT_TRUE(readEnforcedTimes(folder.path()).empty());
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 0, 0), "");
}

TEST(EnforcedTimesFile, ReadsEntriesInFileOrderWithTheirLinesAsRead) {
    TempFolder folder;
    folder.write("times.dat",
                 entry("Ann", 3, 1, "1:05") + crlf({"Bob", "12", " 2.4 ", "n/a", "x"}));
    const auto entries = readEnforcedTimes(folder.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].memberName, "Ann");
    EXPECT_EQ(entries[0].levelText, " 3 ");
    EXPECT_EQ(entries[0].level, 3);
    EXPECT_EQ(entries[0].difficultyText, " 1 ");
    EXPECT_EQ(entries[0].difficulty, 1);
    EXPECT_EQ(entries[0].time, "1:05");
    EXPECT_TRUE(entries[0].complete);
    EXPECT_EQ(entries[1].levelText, "12");
    EXPECT_EQ(entries[1].level, 12);
    EXPECT_EQ(entries[1].difficulty, 2); // rounded
    EXPECT_EQ(entries[1].time, "n/a");
}

TEST(EnforcedTimesFile, EntryCutShortByTheEndOfTheFile) {
    TempFolder folder;
    folder.write("times.dat", entry("Ann", 0, 0, "1:00") + crlf({"Bob", " 4 "}));
    auto entries = readEnforcedTimes(folder.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_FALSE(entries[1].complete);
    EXPECT_EQ(entries[1].memberName, "Bob");
    EXPECT_EQ(entries[1].level, 4);
    EXPECT_EQ(entries[1].time, "");

    // Without its separator line an entry is whole: the line carries nothing.
    folder.write("times.dat", entry("Ann", 0, 0, "1:00") + crlf({"Bob", " 4 ", " 1 ", "2:00"}));
    entries = readEnforcedTimes(folder.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1].complete);
    EXPECT_EQ(entries[1].time, "2:00");
}

TEST(EnforcedTimesFile, SetAppendsThenReplacesInPlace) {
    TempFolder folder;
    folder.write("times.dat", entry("Bob", 1, 1, "2:00"));
    setEnforcedTime(folder.path(), "Ann", 3, 2, "N/A");
    EXPECT_EQ(folder.read("times.dat"), entry("Bob", 1, 1, "2:00") + entry("Ann", 3, 2, "N/A"));
    setEnforcedTime(folder.path(), "Cy", 0, 0, "0:03");
    setEnforcedTime(folder.path(), "Ann", 3, 2, "1:30");
    EXPECT_EQ(folder.read("times.dat"),
              entry("Bob", 1, 1, "2:00") + entry("Ann", 3, 2, "1:30") + entry("Cy", 0, 0, "0:03"));
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 3, 2), "1:30");
}

TEST(EnforcedTimesFile, SetCreatesAMissingFile) {
    TempFolder folder;
    setEnforcedTime(folder.path(), "Ann", 13, 2, "9:59");
    EXPECT_EQ(folder.read("times.dat"), entry("Ann", 13, 2, "9:59"));
}

TEST(EnforcedTimesFile, EmptyTimeRemovesEveryMatchingEntry) {
    TempFolder folder;
    const std::string content = entry("Ann", 3, 2, "1:00") + entry("Bob", 3, 2, "1:01") +
                                entry("Ann", 3, 2, "1:02") + entry("Ann", 3, 1, "1:03");
    folder.write("times.dat", content);
    setEnforcedTime(folder.path(), "Ann", 3, 2, "");
    EXPECT_EQ(folder.read("times.dat"), entry("Bob", 3, 2, "1:01") + entry("Ann", 3, 1, "1:03"));
}

TEST(EnforcedTimesFile, EmptyTimeWithoutAMatchLeavesTheContent) {
    TempFolder folder;
    const std::string content = entry("Ann", 3, 2, "1:00") + entry("Bob", 0, 0, "n/a");
    folder.write("times.dat", content);
    setEnforcedTime(folder.path(), "Ann", 3, 1, "");
    EXPECT_EQ(folder.read("times.dat"), content);
}

TEST(EnforcedTimesFile, DuplicatesAllGetTheNewTimeAndTheLaterOneIsFound) {
    TempFolder folder;
    folder.write("times.dat", entry("Ann", 3, 2, "1:00") + entry("Ann", 3, 2, "2:00"));
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 3, 2), "2:00");
    setEnforcedTime(folder.path(), "Ann", 3, 2, "3:00");
    EXPECT_EQ(folder.read("times.dat"), entry("Ann", 3, 2, "3:00") + entry("Ann", 3, 2, "3:00"));
}

TEST(EnforcedTimesFile, NamesCompareWithLetterCaseAndPositionsByValue) {
    TempFolder folder;
    folder.write("times.dat", entry("Ann", 3, 0, "1:00") + entry("ann", 3, 0, "2:00") +
                                  crlf({"Ann", "3", "  1", "4:00", ""}));
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 3, 0), "1:00");
    EXPECT_EQ(findEnforcedTime(folder.path(), "ann", 3, 0), "2:00");
    EXPECT_EQ(findEnforcedTime(folder.path(), "ANN", 3, 0), "");
    EXPECT_EQ(findEnforcedTime(folder.path(), "Ann", 3, 1), "4:00");
    setEnforcedTime(folder.path(), "ann", 3, 0, "");
    EXPECT_EQ(folder.read("times.dat"),
              entry("Ann", 3, 0, "1:00") + crlf({"Ann", "3", "  1", "4:00", ""}));
}

TEST(EnforcedTimesFile, RewriteKeepsLinesAsReadAndEmptiesTheFifth) {
    TempFolder folder;
    folder.write("times.dat",
                 crlf({"Ann", "03", "1.0", "1:00", "junk", "Bob", " 2 ", " 0 ", "x", ""}));
    setEnforcedTime(folder.path(), "Bob", 2, 0, "0:00");
    EXPECT_EQ(folder.read("times.dat"),
              crlf({"Ann", "03", "1.0", "1:00", "", "Bob", " 2 ", " 0 ", "0:00", ""}));
}

TEST(EnforcedTimesFile, AppendAfterAnEntryCutShortStartsAnEntryOfItsOwn) {
    TempFolder folder;
    folder.write("times.dat", entry("Ann", 0, 0, "1:00") + "Bob\r\n 4");
    appendEnforcedTime(folder.path(), "Cy", 1, 2, "N/A");
    EXPECT_EQ(folder.read("times.dat"), entry("Ann", 0, 0, "1:00") +
                                            crlf({"Bob", " 4", "", "", ""}) +
                                            entry("Cy", 1, 2, "N/A"));
    const auto entries = readEnforcedTimes(folder.path());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].memberName, "Cy");
    EXPECT_EQ(findEnforcedTime(folder.path(), "Cy", 1, 2), "N/A");
}

TEST(EnforcedTimesFile, WriteAndTextRoundTrip) {
    TempFolder folder;
    std::vector<EnforcedTime> entries(2);
    entries[0] = {"Ann", " 3 ", " 1 ", "1:05", 3, 1, true};
    entries[1] = {"Bob", "7", "2", "n/a", 7, 2, true};
    writeEnforcedTimes(folder.path(), entries);
    EXPECT_EQ(folder.read("times.dat"),
              crlf({"Ann", " 3 ", " 1 ", "1:05", "", "Bob", "7", "2", "n/a", ""}));
    EXPECT_EQ(enforcedTimesText(readEnforcedTimes(folder.path())), folder.read("times.dat"));
    writeEnforcedTimes(folder.path(), {});
    EXPECT_EQ(folder.read("times.dat"), "");
}
