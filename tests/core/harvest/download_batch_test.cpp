#include "core/harvest/download_batch.h"
#include "core/harvest/download_progress.h"
#include "core/main_folder.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quenmark {

namespace {

MemberRecord member(std::string name, std::string page) {
    MemberRecord m;
    m.Name = std::move(name);
    m.Page = std::move(page);
    return m;
}

constexpr std::string_view kSentinel =
    "lynx -source http://127.0.0.1:9/EndOfRoster.html >..\\download\\EndOfRoster.html";

} // namespace

// A line per member, its page file quoted with % doubled, named by his number
// from invalidchrs.dat when he has one. No roster field may reach the browser
// as an option, and no member's page may be taken for the sentinel: such
// members, and names that cannot name a file, get no line.
TEST(DownloadBatch, OneLinePerMemberThenTheSentinel) {
    const struct {
        MemberRecord member;
        const char* line; // nullptr: none
    } cases[] = {
        {member("Ann Lee", "http://a.example/times.html"),
         "lynx -source http://a.example/times.html >\"..\\download\\Ann Lee.html\""},
        {member("J/R", "http://j.example/"),
         "lynx -source http://j.example/ >\"..\\download\\3.html\""},
        {member("j/r", "http://j.example/"), nullptr},
        {member("../roster", "http://evil.example/"), nullptr},
        {member("5%%^", "http://p.example/"),
         "lynx -source http://p.example/ >\"..\\download\\5%%%%^.html\""},
        {member("A", "-cmd_log=../roster.txt"), nullptr},
        {member("B", " \t-dump"), nullptr},
        {member("F", "-"), nullptr},
        {member("C", "\"-x y\""), "lynx -source \"%%22-x y%%22\" >\"..\\download\\C.html\""},
        {member("endofROSTER", "http://e.example/"), nullptr},
        {member("D", "http://d.example/-x"),
         "lynx -source http://d.example/-x >\"..\\download\\D.html\""},
        {member("E", ""), "lynx -source  >\"..\\download\\E.html\""},
    };
    TempFolder folder;
    folder.write("invalidchrs.dat", crlf({"J/R", " 3 ", ""}));
    MemberTable members;
    std::vector<std::string> lines = {"cd lynx"};
    for (const auto& c : cases) {
        members.push_back(c.member);
        if (c.line)
            lines.push_back(c.line);
    }
    lines.insert(lines.end(), {std::string(kSentinel), "cd .."});
    writeDownloadBatch(folder.path(), members);
    EXPECT_EQ(folder.read("download.bat"), crlf(lines));
    writeDownloadBatch(folder.path(), {});
    EXPECT_EQ(folder.read("download.bat"), crlf({"cd lynx", kSentinel, "cd .."}));
}

TEST(DownloadBatch, AddressesTheInterpreterWouldSplitOrExpandAreQuoted) {
    const struct {
        const char* page;
        const char* written;
    } cases[] = {
        {"http://a.example/x.html", "http://a.example/x.html"},
        {"http://a.example/my page.html", "\"http://a.example/my page.html\""},
        {"http://a.example/a%20b", "\"http://a.example/a%%20b\""},
        {"http://a.example/\"q\"", "\"http://a.example/%%22q%%22\""},
        {"http://a.example/(x)|y<z>^", "\"http://a.example/(x)|y<z>^\""},
        {"http://a.example/\tx", "\"http://a.example/\tx\""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(batchAddress(c.page), c.written) << c.page;
}

// A page counts once every line that writes it has ended, as the done log says.
// Cy's page is written by two lines; Dan's address and D/E's name get no line.
TEST(DownloadProgress, CountsPagesWhoseEveryLineHasEnded) {
    const struct {
        const char* log; // nullptr: none yet
        int written;
    } cases[] = {
        {nullptr, 0},
        {"../download/Ann.html\n../download/Ann.html\n", 1},
        {"../download/Cy.html\n", 0},
        {"../download/Cy.html\n../download/Cy.html\n", 1},
        {"../download/EndOfRoster.html\n../download/Dan.html\n../download/D/E.html\n", 0},
        {"Ann.html\n../download/Bob.html", 1}, // the last line unfinished
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.log)
            folder.write(kBatchDoneLogFile, c.log);
        const DownloadProgress progress(folder.path(),
                                        {member("Ann", "http://a/"), member("Bob", "http://b/"),
                                         member("Cy", "http://c/1"), member("Dan", "-x"),
                                         member("Cy", "http://c/2"), member("D/E", "http://e/")});
        EXPECT_EQ(progress.total(), 3);
        EXPECT_EQ(progress.written(), c.written) << (c.log ? c.log : "no log");
    }
}

} // namespace quenmark
