#include "app/model/text_file.h"
#include "harvest/error_log.h"
#include "harvest/time_file.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr int kPenalty = 600;

// A time-file line written by hand from the rule: zones of 14 characters at
// positions 1, 15 and 29, each number as sign position, digits and a blank.
std::string zones(const std::string& a, const std::string& b, const std::string& c) {
    return a + std::string(14 - a.size(), ' ') + b + std::string(14 - b.size(), ' ') + c;
}

CellTimes sequence(int first) {
    CellTimes times{};
    for (int i = 0; i < kCellCount; ++i)
        times[i] = static_cast<std::int16_t>(first + i);
    return times;
}

std::string timeFileOf(const CellTimes& times) {
    std::string text;
    for (int l = 0; l < kLevelCount; ++l)
        text +=
            zones(" " + std::to_string(times[l]) + " ", " " + std::to_string(times[l + 14]) + " ",
                  " " + std::to_string(times[l + 28]) + " ") +
            "\r\n";
    return text;
}

} // namespace

TEST(TimeFile, LineOfThePartsExample) {
    CellTimes times{};
    times[0] = 83;
    times[14] = 600;
    times[28] = 1205;
    const std::string text = timeFileText(times);
    const std::string first = text.substr(0, text.find("\r\n"));
    EXPECT_EQ(first, " 83            600           1205 ");
    EXPECT_EQ(first, zones(" 83 ", " 600 ", " 1205 "));
    EXPECT_EQ(timeFileZone(first, 0), 83);
    EXPECT_EQ(timeFileZone(first, 1), 600);
    EXPECT_EQ(timeFileZone(first, 2), 1205);
}

TEST(TimeFile, FourteenLinesWithNegativeAndZeroValues) {
    CellTimes times = sequence(1);
    times[3] = 0;
    times[17] = -7;
    times[31] = 32767;
    const std::string text = timeFileText(times);
    EXPECT_EQ(splitLines(text).size(), 14u);
    EXPECT_EQ(splitLines(text)[3], zones(" 0 ", "-7 ", " 32767 "));
    EXPECT_EQ(text, [&] {
        std::string t;
        for (int l = 0; l < kLevelCount; ++l) {
            const auto n = [](int v) {
                return (v < 0 ? "-" : " ") + std::to_string(std::abs(v)) + " ";
            };
            t += zones(n(times[l]), n(times[l + 14]), n(times[l + 28])) + "\r\n";
        }
        return t;
    }());
}

TEST(TimeFile, WriteThenReadGivesTheSameTimes) {
    TempFolder folder;
    folder.makeFolders({"download"});
    MemberRecord member;
    member.Times = sequence(50);
    member.Times[5] = -3;
    writeTimeFile(folder.path(), member, "Ann");
    EXPECT_TRUE(timeFileExists(folder.path(), "Ann"));
    MemberRecord back;
    EXPECT_TRUE(readTimeFile(folder.path(), back, "Ann"));
    EXPECT_EQ(back.Times, member.Times);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder / "download"))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(TimeFile, WriteReplacesTheOldFile) {
    TempFolder folder;
    folder.write("download/Ann.txt", "old\r\n");
    MemberRecord member;
    member.Times = sequence(10);
    writeTimeFile(folder.path(), member, "Ann");
    EXPECT_EQ(folder.read("download/Ann.txt"), timeFileOf(member.Times));
}

TEST(TimeFile, MissingFileChangesNothing) {
    TempFolder folder;
    MemberRecord member;
    member.Times = sequence(1);
    EXPECT_FALSE(timeFileExists(folder.path(), "Ann"));
    EXPECT_FALSE(readTimeFile(folder.path(), member, "Ann"));
    EXPECT_FALSE(readTimeFileCell(folder.path(), member, "Ann", 0, 0));
    EXPECT_EQ(member.Times, sequence(1));
}

TEST(TimeFile, OtherShapesReadWhatTheyCan) {
    TempFolder folder;
    std::string text = crlf({zones(" 1 ", " 2 ", " 3 "), " 4", "", zones(" 7 ", " 8 ", "")});
    folder.write("download/Ann.txt", text);
    MemberRecord member;
    member.Times = sequence(100);
    EXPECT_TRUE(readTimeFile(folder.path(), member, "Ann"));
    CellTimes expected = sequence(100);
    expected[0] = 1, expected[14] = 2, expected[28] = 3; // a whole line
    expected[1] = 4, expected[15] = 0, expected[29] = 0; // missing zones read 0
    expected[2] = 0, expected[16] = 0, expected[30] = 0; // an empty line
    expected[3] = 7, expected[17] = 8, expected[31] = 0;
    EXPECT_EQ(member.Times, expected); // levels 4 to 13 keep their values
}

TEST(TimeFile, LinesAfterTheFourteenthAreIgnored) {
    TempFolder folder;
    folder.write("download/Ann.txt", timeFileOf(sequence(1)) + crlf({zones(" 9 ", " 9 ", " 9 ")}));
    MemberRecord member;
    EXPECT_TRUE(readTimeFile(folder.path(), member, "Ann"));
    EXPECT_EQ(member.Times, sequence(1));
}

TEST(TimeFile, ZonesAreFixedPositionsNotFields) {
    // The Rookie zone is 6 characters: a number running into the next zone is cut.
    EXPECT_EQ(timeFileZone("  12345", 0), 1234);
    EXPECT_EQ(timeFileZone(zones(" 1 ", " 2 ", " 3 4"), 2), 34); // blanks skipped inside
    EXPECT_EQ(timeFileZone("      ", 1), 0);
    EXPECT_EQ(timeFileZone(zones("x", "1.6", ""), 1), 2); // rounded to a whole number
}

TEST(TimeFile, ReadOneCell) {
    TempFolder folder;
    folder.write("download/Ann.txt", timeFileOf(sequence(1)));
    MemberRecord member;
    EXPECT_TRUE(readTimeFileCell(folder.path(), member, "Ann", 13, 2));
    EXPECT_EQ(member.Times[41], 42);
    EXPECT_EQ(member.Times[40], 0);

    folder.write("download/Bob.txt", crlf({zones(" 1 ", " 2 ", " 3 ")}));
    member.Times[cellIndex(5, 1)] = 99;
    EXPECT_TRUE(readTimeFileCell(folder.path(), member, "Bob", 5, 1));
    EXPECT_EQ(member.Times[cellIndex(5, 1)], 99); // no line 5: unchanged
}

TEST(ErrorLog, AppendsItsLinesOnFlush) {
    TempFolder folder;
    folder.write("errors.txt", "");
    ErrorLog log(folder.path());
    log.add("Ann");
    log.add("Bob - No backup!");
    EXPECT_EQ(folder.read("errors.txt"), "");
    log.flush();
    EXPECT_EQ(folder.read("errors.txt"), crlf({"Ann", "Bob - No backup!"}));
    log.flush();
    log.add("Cy");
    log.flush();
    EXPECT_EQ(folder.read("errors.txt"), crlf({"Ann", "Bob - No backup!", "Cy"}));
}

TEST(ErrorLog, NothingToFlushTouchesNoFile) {
    TempFolder folder;
    ErrorLog log(folder.path());
    log.flush();
    EXPECT_FALSE(folder.exists("errors.txt"));
}
