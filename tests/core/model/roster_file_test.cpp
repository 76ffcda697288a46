#include "core/model/invalid_names.h"
#include "core/model/roster_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <optional>

namespace quenmark {

// Five fields a member, the sixth line skipped; written as five fields and an empty line.
TEST(RosterFile, ReadsFiveFieldsAndWritesThemBack) {
    TempFolder folder;
    folder.write("roster.txt", crlf({"Ann Lee", "AL", "#ff0000", "http://a/ b", "???", "junk",
                                     "Bob", "BB", "blue", "http://b/", "b@x", ""}));
    const MemberFileRead read = readRoster(folder.path());
    ASSERT_EQ(read.status, MemberFileStatus::Ok);
    ASSERT_EQ(read.members.size(), 2u);
    EXPECT_EQ(read.members[1].Page + read.members[1].Email, "http://b/b@x");
    EXPECT_EQ(read.members[1].Times[15], 0);
    EXPECT_FALSE(read.members[1].PageOk);
    EXPECT_EQ(memberFileText(read.members),
              crlf({"Ann Lee", "AL", "#ff0000", "http://a/ b", "???", "", "Bob", "BB", "blue",
                    "http://b/", "b@x", ""}));
}

TEST(RosterFile, ShapesOfTheLastMember) {
    const struct {
        std::optional<std::string> content; // none: no file
        MemberFileStatus status;
        std::size_t members;
    } cases[] = {
        {std::nullopt, MemberFileStatus::Missing, 0},
        {"", MemberFileStatus::Ok, 0},
        {crlf({"A", "B", "C", "D", "E"}), MemberFileStatus::Ok, 1}, // no separator after the last
        {"A\r\nB\r\nC\r\nD\r\nE", MemberFileStatus::Ok, 1},         // no final line end
        {crlf({"A", "B", "C", "D", "E", "", "F", "G"}), MemberFileStatus::Damaged, 0},
        {crlf({"A", "B", "C", "D", "E", "", ""}), MemberFileStatus::Damaged, 0}, // a stray line
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.content)
            folder.write("roster.txt", *c.content);
        const MemberFileRead read = readRoster(folder.path());
        EXPECT_EQ(read.status, c.status) << c.content.value_or("no file");
        EXPECT_EQ(read.members.size(), c.members) << c.content.value_or("no file");
    }
}

TEST(InvalidNames, BaseNamesAsAScanOfTheWholeFileGivesThem) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        const char* name;
        const char* base;
    } cases[] = {
        {"entry", {"Ann", " 3 ", ""}, "Ann", "3"},
        {"letter case counts", {"Ann", " 3 ", ""}, "ann", "ann"},
        {"no entry", {"Bob", " 1 ", ""}, "Ann", "Ann"},
        {"later entry wins", {"Ann", " 3 ", "", "Ann", " 7 ", ""}, "Ann", "7"},
        {"name at the very end has no number", {"Ann", " 3 ", "", "Ann"}, "Ann", "3"},
        {"only a name line", {"Ann"}, "Ann", "Ann"},
        // The line after a match is its number and is never compared itself.
        {"number line equal to the name", {"5", "5", "", "x"}, "5", "5"},
        {"three in a row", {"7", "7", "7", " 2 "}, "7", "2"},
        // Every line is compared, whatever its place: an empty name meets the
        // separators, and the line after one is read as its number.
        {"empty name", {"Ann", " 3 ", "", "Bob", " 4 ", ""}, "", "0"},
        {"number line as name", {"Ann", " 3 ", "", " 3 ", " 9 ", ""}, " 3 ", "9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InvalidNameTable(c.lines).memberFileName(c.name), c.base) << c.what;
}

TEST(InvalidNames, UnusableBaseNames) {
    for (const char* bad : {"../roster", "a\\b", "say \"hi\"", "tab\there", "x\x7f", "EndOfRoster",
                            "endofroster", "ENDOFROSTER"})
        EXPECT_FALSE(isUsableBaseName(bad)) << bad;
    EXPECT_TRUE(isUsableBaseName(std::string(250, 'a')));
    EXPECT_FALSE(isUsableBaseName(std::string(251, 'a')));
    for (const char* good :
         {"Ann", "Ann Lee", "3", "J\xe9r\xf4me", "a&b", "..", "EndOfRoster2", "100%", "%%a^"})
        EXPECT_TRUE(isUsableBaseName(good)) << good;
}

} // namespace quenmark
