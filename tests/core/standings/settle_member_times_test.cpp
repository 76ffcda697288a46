// A whole roster's times, member by member: page, fallbacks, time file, error
// log and enforced times. The mix of page kinds is run end to end by the
// harvest run script; these are the cases that need a look inside.
#include "core/model/text_file.h"
#include "core/standings/settle_member_times.h"
#include "tests/support/member_times_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quenmark {

namespace {

MemberTable membersOf(const std::vector<std::string>& names) {
    MemberTable members(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        members[i].Name = names[i];
    return members;
}

} // namespace

// A missing times.dat stops the run after the first member, whose page and time
// file are handled or whose line is logged; an empty roster needs none.
TEST(SettleMemberTimes, MissingTimesDatStopsTheRunAfterTheFirstMember) {
    const struct {
        bool members;
        bool pages;
        const char* errors;
    } cases[] = {{true, true, ""}, {true, false, "Ann - No backup!\r\n"}, {false, false, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.members << c.pages);
        MainFolder f;
        std::filesystem::remove(f / "times.dat");
        if (c.pages) {
            f.write("download/Ann.html", pageWith(100));
            f.write("download/Bob.html", pageWith(200));
        }
        MemberTable members = membersOf(c.members ? std::vector<std::string>{"Ann", "Bob"}
                                                  : std::vector<std::string>{});
        EXPECT_EQ(settleMemberTimes(f.path(), members, defaultSettings()),
                  c.members ? std::optional(
                                  errorMessage("\"times.dat\" was not found. Go into Members, then "
                                               "Enforce Times to have a new file created."))
                            : std::nullopt);
        EXPECT_EQ(f.exists("download/Ann.txt"), c.pages);
        EXPECT_FALSE(f.exists("download/Bob.txt"));
        EXPECT_EQ(f.read("errors.txt"), c.errors);
    }
}

// The number invalidchrs.dat gives a name names both files of the member and
// mends an unusable name (how the file is scanned is the invalid names table's).
// Unusable names touch no file: "download/../roster.txt" would replace the
// roster. A refused address was not fetched: a page left from an earlier run is
// not read, the time file or the penalty stands in. Enforced times come after
// the fallbacks and stay out of the time file.
TEST(SettleMemberTimes, BaseNamesAndRefusedAddresses) {
    MainFolder f;
    f.write("invalidchrs.dat", crlf({"a/b", " 5 ", ""}));
    f.write("download/5.html", pageWith(600));
    f.write("download/a?b.html", pageWith(400));
    const std::string roster = crlf({"../roster", "XX", "white", "http://x.invalid/r", "", ""});
    f.write("roster.txt", roster);
    f.write("roster.html", pageWith(100));
    f.write("download/Ann.html", pageWith(100));
    f.write("download/Bob.html", pageWith(100));
    f.write("download/Ann.txt", timeFileWith(200));
    f.write("times.dat", timesEntry("../roster", 1, 0, "1:00") + timesEntry("a?b", 0, 0, "N/A") +
                             timesEntry("Dee", 13, 2, "0:03"));
    SiteSettings settings = defaultSettings();
    settings.penaltyIndex = 0; // 300 seconds
    MemberTable members =
        membersOf({"a?b", "Dee", "a/b", "../roster", "EndOfRoster", "Ann", "Bob"});
    members[5].Page = "-cmd_log=../roster.txt";
    members[6].Page = " \t-x";
    EXPECT_EQ(settleMemberTimes(f.path(), members, settings), std::nullopt);

    CellTimes expected[] = {timesFrom(400), filled(300),    timesFrom(600), filled(300),
                            filled(300),    timesFrom(200), filled(300)};
    expected[0][0] = 300, expected[1][41] = 3, expected[3][1] = 60;
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(members[i].Times, expected[i]) << members[i].Name;
    EXPECT_FALSE(members[3].PageOk || members[5].PageOk || members[6].PageOk);
    EXPECT_EQ(f.read("download/a?b.txt"), timeFileWith(400));
    EXPECT_EQ(f.read("download/5.txt"), timeFileWith(600));
    EXPECT_EQ(f.read("download/Ann.txt"), timeFileWith(200));
    EXPECT_EQ(f.count("download"), 7); // the four pages and these three
    EXPECT_EQ(f.read("roster.txt"), roster);
    EXPECT_EQ(f.read("errors.txt"),
              crlf({"Dee - No backup!", "../roster - Invalid file name!",
                    "EndOfRoster - Invalid file name!", "Ann - Invalid page address!",
                    "Bob - Invalid page address!"}));
}

TEST(SettleMemberTimes, AnUnwritableTimeFileStopsTheRunWithTheLinesSoFarLogged) {
    MainFolder f;
    f.write("download/Bob.html", pageWith(100));
    std::filesystem::create_directories(f / "download/Bob.txt"); // a folder in its place
    MemberTable members = membersOf({"Ann", "Bob"});
    EXPECT_THROW(settleMemberTimes(f.path(), members, defaultSettings()), FileError);
    EXPECT_EQ(f.read("errors.txt"), crlf({"Ann - No backup!"}));
}

} // namespace quenmark
