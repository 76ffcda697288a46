// The fallbacks of a bad page as a matrix: page complete / incomplete / all N/A
// / implausible x time file present / absent -> times, time file after the
// run, errors.txt line.
#include "harvest/error_log.h"
#include "harvest/page_parser.h"
#include "harvest/time_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr int kPenalty = 900;

std::string zones(const std::string& a, const std::string& b, const std::string& c) {
    return a + std::string(14 - a.size(), ' ') + b + std::string(14 - b.size(), ' ') + c;
}

std::string number(int v) {
    return " " + std::to_string(v) + " ";
}

// The time file holding value(cell) in every cell, written by hand from the format.
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
    std::string page = "<html><h1>Times</h1>\r\n<table>\r\n";
    for (int l = 0; l < kLevelCount; ++l)
        page += "<tr><td>" + std::string(kLevelNames[l]) + "</td><td>" + cellText(l) + "</td><td>" +
                cellText(l + 14) + "</td><td>" + cellText(l + 28) + "</td></tr>\r\n";
    return page + "</table></html>\r\n";
}

const auto pageTime = [](int cell) { return 100 + cell; };
const auto fileTime = [](int cell) { return 2000 + cell; };

enum class Page { Complete, Empty, HalfTable, AllNa, Implausible, AllNaButOne };
enum class Expect { PageTimes, FileTimes, Penalty, PageWithStoredCell, PageWithPenaltyCell };

struct Case {
    const char* name;
    Page page;
    bool hasTimeFile;
    Expect times;
    bool fileRewritten;  // with the times of the run
    const char* logLine; // nullptr: no line
};

std::string pageText(Page page) {
    switch (page) {
    case Page::Complete:
        return pageOf([](int c) { return clock(pageTime(c)); });
    case Page::Empty:
        return "";
    case Page::HalfTable: {
        std::string full = pageOf([](int c) { return clock(pageTime(c)); });
        return full.substr(0, full.find("Dusk Patrol"));
    }
    case Page::AllNa:
        return pageOf([](int) { return std::string("N/A"); });
    case Page::Implausible:
        return pageOf([](int c) { return c == 20 ? std::string("0:04") : clock(pageTime(c)); });
    case Page::AllNaButOne:
        return pageOf([](int c) { return c == 7 ? clock(kPenalty) : std::string("n/a"); });
    }
    return "";
}

const Case kCases[] = {
    {"complete page, time file", Page::Complete, true, Expect::PageTimes, true, nullptr},
    {"complete page, no time file", Page::Complete, false, Expect::PageTimes, true, nullptr},
    {"empty page, time file", Page::Empty, true, Expect::FileTimes, false, "Ann"},
    {"empty page, no time file", Page::Empty, false, Expect::Penalty, false, "Ann - No backup!"},
    {"half a table, time file", Page::HalfTable, true, Expect::FileTimes, false, "Ann"},
    {"half a table, no time file", Page::HalfTable, false, Expect::Penalty, false,
     "Ann - No backup!"},
    {"all N/A, time file", Page::AllNa, true, Expect::FileTimes, false, nullptr},
    {"all N/A, no time file", Page::AllNa, false, Expect::Penalty, true, nullptr},
    // The test is on the sum: a clock time equal to the penalty among N/As meets it too.
    {"sum of 42 penalties, time file", Page::AllNaButOne, true, Expect::FileTimes, false, nullptr},
    {"implausible time, time file", Page::Implausible, true, Expect::PageWithStoredCell, false,
     nullptr},
    {"implausible time, no time file", Page::Implausible, false, Expect::PageWithPenaltyCell, false,
     nullptr},
};

CellTimes expectedTimes(Expect e) {
    CellTimes t{};
    for (int c = 0; c < kCellCount; ++c) {
        switch (e) {
        case Expect::PageTimes:
            t[c] = static_cast<std::int16_t>(pageTime(c));
            break;
        case Expect::FileTimes:
            t[c] = static_cast<std::int16_t>(fileTime(c));
            break;
        case Expect::Penalty:
            t[c] = kPenalty;
            break;
        case Expect::PageWithStoredCell:
            t[c] = static_cast<std::int16_t>(c == 20 ? fileTime(c) : pageTime(c));
            break;
        case Expect::PageWithPenaltyCell:
            t[c] = static_cast<std::int16_t>(c == 20 ? kPenalty : pageTime(c));
            break;
        }
    }
    return t;
}

} // namespace

TEST(FinishMember, FallbackMatrix) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.makeFolders({"download"});
        folder.write("errors.txt", "");
        folder.write("download/Ann.html", pageText(c.page));
        const std::string oldFile = timeFileOf(fileTime);
        if (c.hasTimeFile)
            folder.write("download/Ann.txt", oldFile);

        MemberRecord member;
        member.Name = "Ann";
        member.PageOk = true;
        ErrorLog log(folder.path());
        const PageRead read = parseMemberPage(folder.path(), member, "Ann", kPenalty);
        finishMember(folder.path(), member, "Ann", read, kPenalty, log);
        log.flush();

        const CellTimes expected = expectedTimes(c.times);
        EXPECT_EQ(member.Times, expected);
        EXPECT_EQ(member.PageOk, c.fileRewritten);
        if (c.fileRewritten)
            EXPECT_EQ(folder.read("download/Ann.txt"),
                      timeFileOf([&](int cell) { return expected[cell]; }));
        else if (c.hasTimeFile)
            EXPECT_EQ(folder.read("download/Ann.txt"), oldFile);
        else
            EXPECT_FALSE(folder.exists("download/Ann.txt"));
        EXPECT_EQ(folder.read("errors.txt"), c.logLine ? crlf({c.logLine}) : "");
    }
}

TEST(FinishMember, DifficultyTotalsAreTheSumsOfTheTimesBeforeTheAllNaTest) {
    TempFolder folder;
    folder.write("download/Ann.html", pageText(Page::Complete));
    MemberRecord member;
    member.Name = "Ann";
    member.PageOk = true;
    ErrorLog log(folder.path());
    finishMember(folder.path(), member, "Ann",
                 parseMemberPage(folder.path(), member, "Ann", kPenalty), kPenalty, log);
    for (int d = 0; d < kDifficultyCount; ++d) {
        int sum = 0;
        for (int l = 0; l < kLevelCount; ++l)
            sum += pageTime(l + 14 * d);
        EXPECT_EQ(member.DifficultyTotal[d], sum);
    }
}

TEST(FinishMember, AMissingPageFileIsAnEmptyPage) {
    TempFolder folder;
    folder.makeFolders({"download"});
    MemberRecord member;
    member.Name = "Ann";
    member.PageOk = true;
    ErrorLog log(folder.path());
    finishMember(folder.path(), member, "Ann",
                 parseMemberPage(folder.path(), member, "Ann", kPenalty), kPenalty, log);
    EXPECT_EQ(log.pending(), "Ann - No backup!\r\n");
    EXPECT_FALSE(member.PageOk);
    EXPECT_FALSE(folder.exists("download/Ann.txt"));
}
