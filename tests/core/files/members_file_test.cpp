#include "core/files/members_file.h"
#include "core/model/text_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quenmark {

namespace {

// One member's six lines; the fields are derived from the name so that a
// record that lost or swapped a field shows up in the comparison.
std::string record(const std::string& name) {
    return crlf({name, name.substr(0, 2), "red", "http://example.org/" + name, name + "@mail", ""});
}
MemberRecord fields(const std::string& name) {
    MemberRecord m;
    m.Name = name;
    m.Initials = name.substr(0, 2);
    m.Color = "red";
    m.Page = "http://example.org/" + name;
    m.Email = name + "@mail";
    return m;
}
std::string entry(const std::string& name, const std::string& number) {
    return crlf({name, number, ""});
}

struct Folder : TempFolder {
    Folder(const std::string& roster, const std::string& banned, const std::string& invalid = "") {
        write("roster.txt", roster);
        write("banned.txt", banned);
        write("invalidchrs.dat", invalid);
    }
    MemberSequence sequence() const { return readMemberSequence(path()).sequence; }
};

TEST(MemberSequence, CaseFoldingCoversLatin1Letters) {
    EXPECT_FALSE(lessIgnoringCase("\xC9mile", "\xE9mile"));
    EXPECT_FALSE(lessIgnoringCase("\xE9mile", "\xC9mile"));
    EXPECT_TRUE(lessIgnoringCase("alice", "Bob"));
    EXPECT_TRUE(lessIgnoringCase("Bo", "bob"));
    EXPECT_EQ(lowerCase("A\xD7Z"), "a\xD7z"); // the multiplication sign has no lower case
    EXPECT_EQ(MemberSequence({fields("\xC9mile")}, {}).findName("\xE9mile"), 0u);
}

TEST(MemberSequence, TheReceivingFileIsWrittenFirst) {
    TempFolder f;
    f.write("roster.txt/blocker", ""); // a folder in the roster's place cannot be replaced
    const MemberSequence bannedAl({}, {fields("Al")});
    EXPECT_THROW(writeMemberSequence(f.path(), bannedAl, MemberStatus::Banned), FileError);
    EXPECT_EQ(f.read("banned.txt"), record("Al")); // written before the failing file

    f.write("banned.txt", "");
    EXPECT_THROW(writeMemberSequence(f.path(), bannedAl, MemberStatus::Active), FileError);
    EXPECT_EQ(f.read("banned.txt"), "");
}

TEST(NextFreeNumber, SmallestPositiveNumberNotInUse) {
    const std::vector<std::pair<std::vector<std::string>, std::int32_t>> cases = {
        {{" 1 ", " 2 ", " 4 "}, 3},
        {{" 10 ", " 2 ", " 1 "}, 3}, // numeric order: 2 before 10
        {{"3", " 1 "}, 2},
        {{" 1 ", " 1 ", " 2 "}, 3},
    };
    for (const auto& [numbers, expected] : cases) {
        std::vector<InvalidNameEntry> entries;
        for (const std::string& n : numbers)
            entries.push_back({"x", n});
        EXPECT_EQ(nextFreeNumber(entries), expected) << numbers.size();
    }
}

TEST(InvalidNames, EntriesRoundTripAndANameWithoutNumberIsDamage) {
    TempFolder f;
    EXPECT_TRUE(readInvalidNameEntries(f.path()).empty());
    f.write("invalidchrs.dat", entry("A/B", "3") + crlf({"C:D", " 1 "})); // last lacks separator
    writeInvalidNameEntries(f.path(), readInvalidNameEntries(f.path()));
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("A/B", "3") + entry("C:D", " 1 "));
    // Any line equal to the name counts, letter case included.
    EXPECT_TRUE(hasInvalidNameLine(f.path(), "C:D"));
    EXPECT_TRUE(hasInvalidNameLine(f.path(), " 1 "));
    EXPECT_FALSE(hasInvalidNameLine(f.path(), "c:d"));

    f.write("invalidchrs.dat", entry("A/B", " 3 ") + crlf({"Lonely"}));
    EXPECT_THROW(readInvalidNameEntries(f.path()), FileError);
}

TEST(SaveMember, RetickingGivesTheSmallestFreeNumberUnderTheEditedName) {
    Folder f(record("A/B"), "", entry("X", " 1 ") + entry("A/B", " 2 ") + entry("Y", " 3 "));
    MemberSequence s = f.sequence();
    saveMember(f.path(), s, 0, fields("A/B"), MemberStatus::Active, false);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("X", " 1 ") + entry("Y", " 3 "));
    f.write("invalidchrs.dat", entry("Y", " 3 ")); // X gave up number 1 meanwhile
    saveMember(f.path(), s, 0, fields("N:w"), MemberStatus::Active, true);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("Y", " 3 ") + entry("N:w", " 1 "));
}

TEST(SaveMember, DamagedInvalidNamesFileStopsBeforeAnythingIsWritten) {
    Folder f(record("Al"), "", crlf({"Lonely"}));
    MemberSequence s = f.sequence();
    EXPECT_THROW(saveMember(f.path(), s, 0, fields("Al"), MemberStatus::Banned, true), FileError);
    EXPECT_EQ(f.read("roster.txt") + f.read("banned.txt"), record("Al"));
}

TEST(AddMember, RewritesTheRosterWholeSoALastRecordWithoutItsEmptyLineKeepsItsFields) {
    TempFolder f;
    f.write("roster.txt", crlf({"Al", "Al", "red", "page", "mail"}));
    addMember(f.path(), fields("Bo"), false);
    EXPECT_EQ(f.read("roster.txt"), crlf({"Al", "Al", "red", "page", "mail", ""}) + record("Bo"));

    f.write("roster.txt", crlf({"Cut", "Cu"}));
    EXPECT_THROW(addMember(f.path(), fields("Bo"), false), FileError);
    EXPECT_EQ(f.read("roster.txt"), crlf({"Cut", "Cu"}));
}

} // namespace

} // namespace quenmark
