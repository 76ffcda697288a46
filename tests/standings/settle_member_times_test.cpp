// Step 7 of the timer tick for a whole roster: page, fallbacks, time file,
// error log and enforced times, member by member.
#include "app/model/text_file.h"
#include "standings/settle_member_times.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr int kPenalty = 1200; // the default settings' penalty

std::string zones(const std::string& a, const std::string& b, const std::string& c) {
    return a + std::string(14 - a.size(), ' ') + b + std::string(14 - b.size(), ' ') + c;
}

std::string number(int v) {
    return (v < 0 ? "-" : " ") + std::to_string(std::abs(v)) + " ";
}

template <typename F> std::string timeFileOf(F value) {
    std::string text;
    for (int l = 0; l < kLevelCount; ++l)
        text += zones(number(value(l)), number(value(l + 14)), number(value(l + 28))) + "\r\n";
    return text;
}

std::string clock(int seconds) {
    const int s = seconds % 60;
    return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

template <typename F> std::string pageOf(F cellText) {
    std::string page = "<html><body>\n<table>\n";
    for (int l = 0; l < kLevelCount; ++l)
        page += "<tr><td>" + std::string(kLevelNames[l]) + "</td><td>" + cellText(l) + "</td><td>" +
                cellText(l + 14) + "</td><td>" + cellText(l + 28) + "</td></tr>\n";
    return page + "</table></body></html>\n";
}

std::string pageWith(int base) {
    return pageOf([base](int c) { return clock(base + c); });
}

std::string rosterOf(std::initializer_list<std::string> names) {
    std::string text;
    for (const auto& name : names)
        text += crlf({name, "XX", "white", "http://example.invalid/" + name, "a@b.c", ""});
    return text;
}

MemberTable membersOf(std::initializer_list<std::string> names) {
    MemberTable members;
    for (const auto& name : names) {
        MemberRecord m;
        m.Name = name;
        members.push_back(m);
    }
    return members;
}

std::string entry(const std::string& name, int level, int difficulty, const std::string& time) {
    return crlf({name, number(level), number(difficulty), time, ""});
}

CellTimes timesFrom(int base) {
    CellTimes t{};
    for (int c = 0; c < kCellCount; ++c)
        t[c] = static_cast<std::int16_t>(base + c);
    return t;
}

CellTimes penalties() {
    CellTimes t{};
    t.fill(kPenalty);
    return t;
}

struct Site {
    TempFolder folder;
    Site() {
        folder.makeFolders({"download", "lynx", "templates", "upload"});
        folder.write("errors.txt", "");
        folder.write("invalidchrs.dat", "");
        folder.write("times.dat", "");
    }
};

} // namespace

TEST(SettleMemberTimes, MixedRoster) {
    Site site;
    const auto& f = site.folder;
    // Ann: a good page and an old time file.
    f.write("download/Ann.html", pageWith(100));
    f.write("download/Ann.txt", timeFileOf([](int c) { return 3000 + c; }));
    // Bob: an error page, a time file.
    f.write("download/Bob.html", "<html>404 Not Found</html>\n");
    f.write("download/Bob.txt", timeFileOf([](int c) { return 2000 + c; }));
    // Cy: no page at all, no time file.
    // Dee: every cell N/A, a time file.
    f.write("download/Dee.html", pageOf([](int) { return std::string("N/A"); }));
    f.write("download/Dee.txt", timeFileOf([](int c) { return 1500 + c; }));
    // Eve: one implausible time, no time file.
    f.write("download/Eve.html",
            pageOf([](int c) { return c == 9 ? std::string("0:01") : clock(200 + c); }));
    // Fay: good page, first time file.
    f.write("download/Fay.html", pageWith(300));

    MemberTable members = membersOf({"Ann", "Bob", "Cy", "Dee", "Eve", "Fay"});
    EXPECT_EQ(settleMemberTimes(f.path(), members, defaultSettings()), std::nullopt);

    EXPECT_EQ(members[0].Times, timesFrom(100));
    EXPECT_EQ(members[1].Times, timesFrom(2000));
    EXPECT_EQ(members[2].Times, penalties());
    EXPECT_EQ(members[3].Times, timesFrom(1500));
    CellTimes eve = timesFrom(200);
    eve[9] = kPenalty;
    EXPECT_EQ(members[4].Times, eve);
    EXPECT_EQ(members[5].Times, timesFrom(300));

    const bool pageOk[] = {true, false, false, false, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(members[i].PageOk, pageOk[i]) << members[i].Name;

    EXPECT_EQ(f.read("download/Ann.txt"), timeFileOf([](int c) { return 100 + c; }));
    EXPECT_EQ(f.read("download/Bob.txt"), timeFileOf([](int c) { return 2000 + c; }));
    EXPECT_FALSE(f.exists("download/Cy.txt"));
    EXPECT_EQ(f.read("download/Dee.txt"), timeFileOf([](int c) { return 1500 + c; }));
    EXPECT_FALSE(f.exists("download/Eve.txt"));
    EXPECT_EQ(f.read("download/Fay.txt"), timeFileOf([](int c) { return 300 + c; }));

    EXPECT_EQ(f.read("errors.txt"), crlf({"Bob", "Cy - No backup!"}));
}

TEST(SettleMemberTimes, EnforcedTimesWinButNeverReachTheTimeFile) {
    Site site;
    const auto& f = site.folder;
    f.write("download/Ann.html", pageWith(100));
    f.write("times.dat", entry("Ann", 0, 0, "N/A") + entry("Bob", 13, 2, "0:03") +
                             entry("Ann", 5, 1, "1:00") + entry("Ann", 5, 1, "2:00") +
                             entry("Zed", 1, 1, "1:00") + entry("ann", 2, 2, "1:00"));
    MemberTable members = membersOf({"Ann", "Bob"});
    EXPECT_EQ(settleMemberTimes(f.path(), members, defaultSettings()), std::nullopt);

    CellTimes ann = timesFrom(100);
    ann[0] = kPenalty;
    ann[cellIndex(5, 1)] = 120;
    EXPECT_EQ(members[0].Times, ann);
    EXPECT_EQ(f.read("download/Ann.txt"), timeFileOf([](int c) { return 100 + c; }));

    // Bob: a missing page and no backup, then his enforced time on top.
    CellTimes bob = penalties();
    bob[41] = 3;
    EXPECT_EQ(members[1].Times, bob);
    EXPECT_EQ(f.read("errors.txt"), crlf({"Bob - No backup!"}));
}

TEST(SettleMemberTimes, MissingTimesDatStopsAfterTheFirstMember) {
    Site site;
    const auto& f = site.folder;
    std::filesystem::remove(f / "times.dat");
    f.write("download/Ann.html", pageWith(100));
    f.write("download/Bob.html", pageWith(200));
    MemberTable members = membersOf({"Ann", "Bob"});
    const auto stop = settleMemberTimes(f.path(), members, defaultSettings());
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->title, "Error");
    EXPECT_EQ(stop->icon, MessageIcon::Critical);
    EXPECT_EQ(stop->text, "\"times.dat\" was not found. Go into Members, then Enforce Times to "
                          "have a new file created.");
    // The first member's page and time file were handled, the second's not.
    EXPECT_TRUE(f.exists("download/Ann.txt"));
    EXPECT_FALSE(f.exists("download/Bob.txt"));
}

TEST(SettleMemberTimes, MissingTimesDatAfterALoggedFirstMember) {
    Site site;
    const auto& f = site.folder;
    std::filesystem::remove(f / "times.dat");
    MemberTable members = membersOf({"Ann", "Bob"});
    EXPECT_TRUE(settleMemberTimes(f.path(), members, defaultSettings()));
    EXPECT_EQ(f.read("errors.txt"), crlf({"Ann - No backup!"}));
}

TEST(SettleMemberTimes, EmptyRosterNeedsNoTimesDat) {
    Site site;
    std::filesystem::remove(site.folder / "times.dat");
    MemberTable members;
    EXPECT_EQ(settleMemberTimes(site.folder.path(), members, defaultSettings()), std::nullopt);
    EXPECT_EQ(site.folder.read("errors.txt"), "");
}

TEST(SettleMemberTimes, PenaltyOfTheSettings) {
    Site site;
    SiteSettings settings = defaultSettings();
    settings.penaltyIndex = 0; // 300 seconds
    MemberTable members = membersOf({"Ann"});
    settleMemberTimes(site.folder.path(), members, settings);
    for (auto t : members[0].Times)
        EXPECT_EQ(t, 300);
}

TEST(SettleMemberTimes, NumbersOfInvalidchrsDat) {
    Site site;
    const auto& f = site.folder;
    // The last entry for a name wins; names compare with letter case; every
    // line is compared with the name, also a line that is another name's number
    // (" 4 " matches line 4, whose next line is "A?B", reading 0, and then line
    // 7, whose next line gives 9).
    f.write("invalidchrs.dat", crlf({"A?B", " 3 ", "Cy", " 4 ", "A?B", " 7 ", " 4 ", " 9 "}));
    f.write("download/3.html", pageWith(100));
    f.write("download/7.html", pageWith(200));
    f.write("download/4.html", pageWith(300));
    f.write("download/a?b.html", pageWith(400));
    f.write("download/9.html", pageWith(500));
    MemberTable members = membersOf({"A?B", "Cy", "a?b", " 4 ", "Dee"});
    EXPECT_EQ(settleMemberTimes(f.path(), members, defaultSettings()), std::nullopt);
    EXPECT_EQ(members[0].Times, timesFrom(200));
    EXPECT_EQ(members[1].Times, timesFrom(300));
    EXPECT_EQ(members[2].Times, timesFrom(400));
    EXPECT_EQ(members[3].Times, timesFrom(500));
    EXPECT_EQ(members[4].Times, penalties());
    EXPECT_TRUE(f.exists("download/7.txt"));
    EXPECT_TRUE(f.exists("download/4.txt"));
    EXPECT_TRUE(f.exists("download/a?b.txt"));
    EXPECT_TRUE(f.exists("download/9.txt"));
    EXPECT_FALSE(f.exists("download/3.txt"));
    EXPECT_EQ(f.read("errors.txt"), crlf({"Dee - No backup!"}));
}

TEST(SettleMemberTimes, UnusableBaseNamesGetThePenaltyAndTouchNoFile) {
    Site site;
    const auto& f = site.folder;
    const std::string roster = rosterOf({"../roster", "Ann"});
    f.write("roster.txt", roster);
    f.write("roster.html", pageWith(100)); // what "download/../roster.html" would name
    f.write("download/Ann.html", pageWith(100));
    f.write("times.dat", entry("../roster", 1, 0, "1:00"));
    MemberTable members = membersOf({"../roster", "Ann", "a\\b", "say \"hi\"", "tab\there"});
    EXPECT_EQ(settleMemberTimes(f.path(), members, defaultSettings()), std::nullopt);

    CellTimes first = penalties();
    first[1] = 60; // enforced times still apply
    EXPECT_EQ(members[0].Times, first);
    EXPECT_FALSE(members[0].PageOk);
    EXPECT_EQ(members[1].Times, timesFrom(100));
    for (int i = 2; i < 5; ++i)
        EXPECT_EQ(members[i].Times, penalties());
    EXPECT_EQ(f.read("roster.txt"), roster);
    EXPECT_EQ(f.read("errors.txt"),
              crlf({"../roster - Invalid file name!", "a\\b - Invalid file name!",
                    "say \"hi\" - Invalid file name!", "tab\there - Invalid file name!"}));
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(f / "download"))
        ++files;
    EXPECT_EQ(files, 2); // Ann.html and Ann.txt
}

TEST(SettleMemberTimes, AnInvalidchrsNumberMendsAnUnusableName) {
    Site site;
    const auto& f = site.folder;
    f.write("invalidchrs.dat", crlf({"a/b", " 5 "}));
    f.write("download/5.html", pageWith(100));
    MemberTable members = membersOf({"a/b"});
    EXPECT_EQ(settleMemberTimes(f.path(), members, defaultSettings()), std::nullopt);
    EXPECT_EQ(members[0].Times, timesFrom(100));
    EXPECT_TRUE(f.exists("download/5.txt"));
    EXPECT_EQ(f.read("errors.txt"), "");
}

TEST(SettleMemberTimes, AnUnwritableTimeFileStopsTheRunWithTheLinesSoFarLogged) {
    Site site;
    const auto& f = site.folder;
    f.write("download/Bob.html", pageWith(100));
    std::filesystem::create_directories(f / "download/Bob.txt"); // a folder in its place
    MemberTable members = membersOf({"Ann", "Bob"});
    EXPECT_THROW(settleMemberTimes(f.path(), members, defaultSettings()), FileError);
    EXPECT_EQ(f.read("errors.txt"), crlf({"Ann - No backup!"}));
}
