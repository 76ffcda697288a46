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

TEST(DownloadBatch, EmptyRosterFetchesOnlyTheSentinel) {
    EXPECT_EQ(downloadBatchText({}, InvalidNameTable()), crlf({"cd lynx", kSentinel, "cd .."}));
}

TEST(DownloadBatch, OneLinePerMemberWithQuotedOutputFile) {
    const InvalidNameTable names({"J/R", " 3 ", ""});
    const MemberTable members = {
        member("Ann Lee", "http://a.example/times.html"), member("J/R", "http://j.example/"),
        member("../roster", "http://evil.example/"), member("Bob", "http://b.example/?a=1&b=2"),
        member("5%%^", "http://p.example/")};
    const std::string text = downloadBatchText(members, names);
    EXPECT_EQ(
        text,
        crlf({"cd lynx", "lynx -source http://a.example/times.html >\"..\\download\\Ann Lee.html\"",
              "lynx -source http://j.example/ >\"..\\download\\3.html\"",
              "lynx -source \"http://b.example/?a=1&b=2\" >\"..\\download\\Bob.html\"",
              "lynx -source http://p.example/ >\"..\\download\\5%%%%^.html\"", kSentinel,
              "cd .."}));
}

// No roster field may reach the browser as an option, and no member's page
// may be taken for the sentinel: such members get no line.
TEST(DownloadBatch, RefusedAddressesAndTheSentinelsNameGetNoLine) {
    const MemberTable members = {member("A", "-cmd_log=../roster.txt"),
                                 member("B", " \t-dump"),
                                 member("C", "\"-x y\""),
                                 member("endofROSTER", "http://e.example/"),
                                 member("D", "http://d.example/-x"),
                                 member("E", "")};
    EXPECT_EQ(downloadBatchText(members, InvalidNameTable()),
              crlf({"cd lynx", "lynx -source \"%%22-x y%%22\" >\"..\\download\\C.html\"",
                    "lynx -source http://d.example/-x >\"..\\download\\D.html\"",
                    "lynx -source  >\"..\\download\\E.html\"", kSentinel, "cd .."}));
    for (const char* refused : {"-", "-x", "  -x", "\t-x"})
        EXPECT_FALSE(isUsablePageAddress(refused)) << refused;
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

TEST(DownloadBatch, WrittenIntoTheMainFolder) {
    TempFolder folder;
    folder.write("invalidchrs.dat", crlf({"Ann", " 3 ", ""}));
    writeDownloadBatch(folder.path(), {member("Ann", "http://a/"), member("ann", "http://b/")});
    EXPECT_EQ(folder.read("download.bat"),
              crlf({"cd lynx", "lynx -source http://a/ >\"..\\download\\3.html\"",
                    "lynx -source http://b/ >\"..\\download\\ann.html\"", kSentinel, "cd .."}));
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
