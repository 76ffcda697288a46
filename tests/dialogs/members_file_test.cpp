#include "app/model/text_file.h"
#include "dialogs/members_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

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
    MemberSequence sequence() const {
        MemberSequenceRead read = readMemberSequence(path());
        EXPECT_FALSE(read.problem.has_value());
        return read.sequence;
    }
};

TEST(MemberSequence, OpeningSortsEachFileByNameLetterCaseAside) {
    Folder f(record("Carol") + record("alice") + record("Bob"), record("zed") + record("Ann"));
    MemberSequenceRead read = sortMemberFiles(f.path());
    ASSERT_FALSE(read.problem);
    EXPECT_EQ(f.read("roster.txt"), record("alice") + record("Bob") + record("Carol"));
    EXPECT_EQ(f.read("banned.txt"), record("Ann") + record("zed"));
    EXPECT_EQ(read.sequence.names(),
              (std::vector<std::string>{"alice", "Bob", "Carol", "Ann", "zed"}));
    EXPECT_EQ(read.sequence.activeCount(), 3u);
}

TEST(MemberSequence, OpeningWritesEveryRecordOnceAlsoWithEqualNames) {
    // Two members of one name and names equal but for case keep one record each, in file order.
    const std::string second = crlf({"Bob", "B2", "blue", "p2", "e2", ""});
    Folder f(record("Bob") + record("bob") + second + record("Al"), "");
    ASSERT_FALSE(sortMemberFiles(f.path()).problem);
    EXPECT_EQ(f.read("roster.txt"), record("Al") + record("Bob") + record("bob") + second);
    EXPECT_EQ(f.read("banned.txt"), "");
}

TEST(MemberSequence, MissingAndDamagedFilesAreReportedByName) {
    TempFolder f;
    f.write("banned.txt", "");
    MemberSequenceRead read = sortMemberFiles(f.path());
    ASSERT_TRUE(read.problem);
    EXPECT_TRUE(read.missing);
    EXPECT_EQ(*read.problem, (OperatorMessage{"Critical Error",
                                              "\"roster.txt\" could not be found. Make sure it is "
                                              "named correctly and in the main folder.",
                                              MessageIcon::Critical}));

    f.write("roster.txt", record("Al"));
    std::filesystem::remove(f / "banned.txt");
    read = sortMemberFiles(f.path());
    ASSERT_TRUE(read.missing);
    EXPECT_NE(read.problem->text.find("\"banned.txt\" could not be found."), std::string::npos);
    EXPECT_EQ(f.read("roster.txt"), record("Al")); // nothing written

    f.write("banned.txt", crlf({"Cut", "Cu"}));
    read = sortMemberFiles(f.path());
    ASSERT_TRUE(read.problem);
    EXPECT_FALSE(read.missing);
    EXPECT_EQ(read.problem->title, "Error");
    EXPECT_NE(read.problem->text.find("\"banned.txt\" is damaged"), std::string::npos);
}

TEST(MemberSequence, FindNameMatchesWholeNamesLetterCaseAside) {
    const MemberSequence s({fields("Anne"), fields("Ann")}, {fields("zoe"), fields("ann")});
    EXPECT_EQ(s.findName("ANN"), 1u); // the active one before the banned one
    EXPECT_EQ(s.findName("ZOE"), 2u); // banned members are found too
    EXPECT_EQ(s.findName("An"), std::nullopt);
    EXPECT_EQ(s.findName(" "), std::nullopt);
    EXPECT_EQ(MemberSequence({fields("\xC9mile")}, {}).findName("\xE9mile"), 0u);
}

TEST(MemberSequence, CaseFoldingCoversLatin1Letters) {
    EXPECT_FALSE(lessIgnoringCase("\xC9mile", "\xE9mile"));
    EXPECT_FALSE(lessIgnoringCase("\xE9mile", "\xC9mile"));
    EXPECT_TRUE(lessIgnoringCase("alice", "Bob"));
    EXPECT_TRUE(lessIgnoringCase("Bo", "bob"));
    EXPECT_EQ(lowerCase("A\xD7Z"), "a\xD7z"); // the multiplication sign has no lower case
}

TEST(NextFreeNumber, SmallestPositiveNumberNotInUse) {
    struct Case {
        std::vector<std::string> numbers;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {{}, 1},
        {{" 1 ", " 2 ", " 4 "}, 3},
        {{" 2 ", " 3 "}, 1},
        {{" 10 ", " 2 ", " 1 "}, 3}, // numeric order: 2 before 10
        {{"3", " 1 "}, 2},
        {{" 1 ", " 1 ", " 2 "}, 3},
    };
    for (const Case& c : cases) {
        std::vector<InvalidNameEntry> entries;
        for (const std::string& n : c.numbers)
            entries.push_back({"x", n});
        EXPECT_EQ(nextFreeNumber(entries), c.expected) << c.numbers.size();
    }
}

TEST(InvalidNames, EntriesRoundTripAndANameWithoutNumberIsDamage) {
    TempFolder f;
    EXPECT_TRUE(readInvalidNameEntries(f.path()).empty());
    f.write("invalidchrs.dat", entry("A/B", "3") + crlf({"C:D", " 1 "})); // last lacks separator
    auto entries = readInvalidNameEntries(f.path());
    ASSERT_EQ(entries.size(), 2u);
    writeInvalidNameEntries(f.path(), entries);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("A/B", "3") + entry("C:D", " 1 "));

    f.write("invalidchrs.dat", entry("A/B", " 3 ") + crlf({"Lonely"}));
    EXPECT_THROW(readInvalidNameEntries(f.path()), FileError);
}

TEST(InvalidNames, AnyLineEqualToTheNameCounts) {
    TempFolder f;
    f.write("invalidchrs.dat", entry("Ann", " 3 "));
    EXPECT_TRUE(hasInvalidNameLine(f.path(), "Ann"));
    EXPECT_FALSE(hasInvalidNameLine(f.path(), "ann"));
    EXPECT_TRUE(hasInvalidNameLine(f.path(), " 3 "));
}

TEST(SaveMember, BanningMovesToTheStartOfBannedAndBackToTheEndOfRoster) {
    Folder f(record("Al") + record("Bo") + record("Cy"), record("Di"));
    MemberSequence s = f.sequence();
    saveMember(f.path(), s, 1, fields("Bo"), MemberStatus::Banned, false);
    EXPECT_EQ(f.read("roster.txt"), record("Al") + record("Cy"));
    EXPECT_EQ(f.read("banned.txt"), record("Bo") + record("Di"));
    EXPECT_EQ(s.activeCount(), 2u);

    s = f.sequence();
    saveMember(f.path(), s, 3, fields("Di"), MemberStatus::Active, false);
    EXPECT_EQ(f.read("roster.txt"), record("Al") + record("Cy") + record("Di"));
    EXPECT_EQ(f.read("banned.txt"), record("Bo"));
}

TEST(SaveMember, EditedFieldsReplaceTheRecordInPlace) {
    Folder f(record("Al") + record("Bo"), "");
    MemberSequence s = f.sequence();
    MemberRecord edited = fields("Bob");
    edited.Email = "???";
    saveMember(f.path(), s, 1, edited, MemberStatus::Active, false);
    EXPECT_EQ(f.read("roster.txt"),
              record("Al") + crlf({"Bob", "Bo", "red", "http://example.org/Bob", "???", ""}));
    EXPECT_EQ(f.read("invalidchrs.dat"), ""); // untouched
}

TEST(SaveMember, InvalidBoxTickUntickAndRetick) {
    Folder f(record("A/B"), "", entry("X", " 1 ") + entry("Y", " 3 "));
    MemberSequence s = f.sequence();
    saveMember(f.path(), s, 0, fields("A/B"), MemberStatus::Active, true);
    EXPECT_EQ(f.read("invalidchrs.dat"),
              entry("X", " 1 ") + entry("Y", " 3 ") + entry("A/B", " 2 "));

    // Ticked with an entry: nothing changes.
    saveMember(f.path(), s, 0, fields("A/B"), MemberStatus::Active, true);
    EXPECT_EQ(f.read("invalidchrs.dat"),
              entry("X", " 1 ") + entry("Y", " 3 ") + entry("A/B", " 2 "));

    saveMember(f.path(), s, 0, fields("A/B"), MemberStatus::Active, false);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("X", " 1 ") + entry("Y", " 3 "));

    // Meanwhile X gave up number 1: the member gets the smallest free number, not his old one.
    f.write("invalidchrs.dat", entry("Y", " 3 "));
    saveMember(f.path(), s, 0, fields("A/B"), MemberStatus::Active, true);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("Y", " 3 ") + entry("A/B", " 1 "));
}

TEST(SaveMember, RenamedMemberKeepsHisNumberUnderTheNewName) {
    Folder f(record("A/B"), "", entry("A/B", " 2 ") + entry("Y", " 1 ") + entry("A/B", " 5 "));
    MemberSequence s = f.sequence();
    saveMember(f.path(), s, 0, fields("A|B"), MemberStatus::Active, true);
    EXPECT_EQ(f.read("invalidchrs.dat"),
              entry("A|B", " 2 ") + entry("Y", " 1 ") + entry("A|B", " 5 "));
    EXPECT_EQ(f.read("roster.txt"), record("A|B"));
}

TEST(SaveMember, NewEntryTakesTheEditedName) {
    Folder f(record("Old"), "");
    MemberSequence s = f.sequence();
    saveMember(f.path(), s, 0, fields("N:w"), MemberStatus::Active, true);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("N:w", " 1 "));
}

TEST(SaveMember, DamagedInvalidNamesFileStopsBeforeAnythingIsWritten) {
    Folder f(record("Al"), "", crlf({"Lonely"}));
    MemberSequence s = f.sequence();
    EXPECT_THROW(saveMember(f.path(), s, 0, fields("Al"), MemberStatus::Banned, true), FileError);
    EXPECT_EQ(f.read("roster.txt"), record("Al"));
    EXPECT_EQ(f.read("banned.txt"), "");
}

TEST(DeleteMember, RemovesRecordAndEveryEntryOfTheName) {
    Folder f(record("Al"), record("Bo") + record("Cy"),
             entry("Al", " 1 ") + entry("Bo", " 2 ") + entry("Al", " 3 "));
    MemberSequence s = f.sequence();
    deleteMember(f.path(), s, 0); // the last active member
    EXPECT_EQ(f.read("roster.txt"), "");
    EXPECT_EQ(f.read("banned.txt"), record("Bo") + record("Cy"));
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("Bo", " 2 "));
    EXPECT_EQ(s.activeCount(), 0u);

    deleteMember(f.path(), s, 1);
    EXPECT_EQ(f.read("banned.txt"), record("Bo"));
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("Bo", " 2 "));
}

TEST(AddMember, AppendsToRosterWithTheNextFreeNumber) {
    Folder f(record("Al"), record("Zed"), entry("X", " 1 ") + entry("Y", " 2 "));
    addMember(f.path(), fields("N/w"), true);
    EXPECT_EQ(f.read("roster.txt"), record("Al") + record("N/w"));
    EXPECT_EQ(f.read("banned.txt"), record("Zed"));
    EXPECT_EQ(f.read("invalidchrs.dat"),
              entry("X", " 1 ") + entry("Y", " 2 ") + entry("N/w", " 3 "));

    f.write("invalidchrs.dat", "");
    addMember(f.path(), fields("M:x"), true);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("M:x", " 1 "));
    addMember(f.path(), fields("Plain"), false);
    EXPECT_EQ(f.read("invalidchrs.dat"), entry("M:x", " 1 "));
    EXPECT_EQ(f.read("roster.txt"), record("Al") + record("N/w") + record("M:x") + record("Plain"));
}

TEST(AddMember, ALastRecordWithoutItsEmptyLineKeepsItsFields) {
    TempFolder f;
    f.write("roster.txt", crlf({"Al", "Al", "red", "page", "mail"}));
    addMember(f.path(), fields("Bo"), false);
    EXPECT_EQ(f.read("roster.txt"), crlf({"Al", "Al", "red", "page", "mail", ""}) + record("Bo"));

    f.write("roster.txt", crlf({"Cut", "Cu"}));
    EXPECT_THROW(addMember(f.path(), fields("Bo"), false), FileError);
    EXPECT_EQ(f.read("roster.txt"), crlf({"Cut", "Cu"}));
}

} // namespace
