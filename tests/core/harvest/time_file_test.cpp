#include "core/harvest/error_log.h"
#include "core/harvest/time_file.h"
#include "tests/support/member_times_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quenmark {

TEST(TimeFile, ZonesAreFixedPositionsNotFields) {
    const struct {
        std::string line;
        int difficulty;
        int value;
    } cases[] = {
        {" 83            600           1205 ", 2, 1205},
        {"  12345", 0, 1234},                 // cut at the end of the 6-character Rookie zone
        {zones(" 1 ", " 2 ", " 3 4"), 2, 34}, // blanks inside are skipped
        {"      ", 1, 0},
        {zones("x", "1.6", ""), 1, 2}, // rounded to a whole number
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeFileZone(c.line, c.difficulty), c.value) << c.line;
}

TEST(TimeFile, WriteReplacesAtomicallyAndReadsBack) {
    TempFolder folder;
    folder.write("download/Ann.txt", "old\r\n");
    MemberRecord member;
    member.Times = timesFrom(50);
    member.Times[0] = 83, member.Times[14] = 600, member.Times[28] = 1205;
    member.Times[3] = 0, member.Times[17] = -7, member.Times[31] = 32767;
    writeTimeFile(folder.path(), member, "Ann");
    EXPECT_EQ(folder.read("download/Ann.txt"), timeFileOf([&](int c) { return member.Times[c]; }));
    MemberRecord back;
    EXPECT_TRUE(timeFileExists(folder.path(), "Ann"));
    EXPECT_TRUE(readTimeFile(folder.path(), back, "Ann"));
    EXPECT_EQ(back.Times, member.Times);
    EXPECT_EQ(folder.count("download"), 1); // no temporary file is left behind
}

TEST(TimeFile, OtherShapesReadWhatTheyCan) {
    TempFolder folder;
    folder.write("download/Ann.txt",
                 crlf({zones(" 1 ", " 2 ", " 3 "), " 4", "", zones(" 7 ", " 8 ", "")}));
    folder.write("download/Bob.txt", timeFileWith(1) + crlf({zones(" 9 ", " 9 ", " 9 ")}));
    MemberRecord ann, bob;
    ann.Times = timesFrom(100);
    EXPECT_TRUE(readTimeFile(folder.path(), ann, "Ann"));
    CellTimes expected = timesFrom(100); // levels 4 to 13 keep their values
    expected[0] = 1, expected[14] = 2, expected[28] = 3;
    expected[1] = 4, expected[15] = 0, expected[29] = 0; // missing zones read 0
    expected[2] = 0, expected[16] = 0, expected[30] = 0; // an empty line
    expected[3] = 7, expected[17] = 8, expected[31] = 0;
    EXPECT_EQ(ann.Times, expected);
    EXPECT_TRUE(readTimeFile(folder.path(), bob, "Bob")); // lines after the 14th are ignored
    EXPECT_EQ(bob.Times, timesFrom(1));

    bob.Times = filled(0);
    EXPECT_TRUE(readTimeFileCell(folder.path(), bob, "Bob", 13, 2));
    EXPECT_EQ(bob.Times[41], 42);
    EXPECT_EQ(bob.Times[40], 0);
    ann.Times[cellIndex(5, 1)] = 99;
    EXPECT_TRUE(readTimeFileCell(folder.path(), ann, "Ann", 5, 1));
    EXPECT_EQ(ann.Times[cellIndex(5, 1)], 99); // no line for level 5: unchanged
}

TEST(ErrorLog, AppendsItsLinesOnFlushOnly) {
    TempFolder folder;
    ErrorLog log(folder.path());
    log.flush();
    EXPECT_FALSE(folder.exists("errors.txt")); // nothing to flush touches no file
    folder.write("errors.txt", "");
    log.add("Ann");
    log.add("Bob - No backup!");
    EXPECT_EQ(folder.read("errors.txt"), "");
    log.flush();
    log.flush();
    log.add("Cy");
    log.flush();
    EXPECT_EQ(folder.read("errors.txt"), crlf({"Ann", "Bob - No backup!", "Cy"}));
}

} // namespace quenmark
