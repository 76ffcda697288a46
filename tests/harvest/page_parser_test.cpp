#include "harvest/page_parser.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kPenalty = 1200;
constexpr std::int16_t kUntouched = -1;

std::string join(const std::vector<std::string>& lines, const char* end) {
    std::string text;
    for (const auto& line : lines)
        text += line + end;
    return text;
}

// A row of the usual member page: the level name and three times, each in a
// cell of its own.
std::string row(int level, const std::string& rookie, const std::string& veteran,
                const std::string& master) {
    return "<tr><td>" + std::string(kLevelNames[level]) + "</td><td>" + rookie + "</td><td>" +
           veteran + "</td><td>" + master + "</td></tr>";
}

std::string clock(int seconds) {
    const int s = seconds % 60;
    return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

// 14 rows; cell (l, d) holds the clock time 100 + l * 3 + d seconds.
std::vector<std::string> fullTable() {
    std::vector<std::string> lines = {"<html><body><h1>My times</h1>", "<table border=1>"};
    for (int l = 0; l < kLevelCount; ++l)
        lines.push_back(row(l, clock(100 + l * 3), clock(101 + l * 3), clock(102 + l * 3)));
    lines.push_back("</table></body></html>");
    return lines;
}

std::map<int, int> fullTableValues() {
    std::map<int, int> values;
    for (int l = 0; l < kLevelCount; ++l)
        for (int d = 0; d < kDifficultyCount; ++d)
            values[cellIndex(l, d)] = 100 + l * 3 + d;
    return values;
}

struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::map<int, int> expected; // cell -> value; every other cell stays untouched
    PageRead read;
    bool pageOk;
    std::optional<std::map<int, int>> timeFile = std::nullopt; // the member's stored times
};

std::vector<Case> cases() {
    std::vector<Case> c;
    const std::string table = "<table>";
    c.push_back({"a row of the times table",
                 {table, "<tr><td>Lamplight<td>1:23<td>N/A<td>10:05"},
                 {{0, 83}, {14, kPenalty}, {28, 605}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"implausible without a time file",
                 {table, "<tr><td>Lamplight<td>0:04<td>1:00<td>2:00"},
                 {{0, kPenalty}, {14, 60}, {28, 120}},
                 PageRead::Incomplete,
                 false});
    c.push_back({"implausible with a time file",
                 {table, "<tr><td>Lamplight<td>0:04<td>1:00<td>2:00"},
                 {{0, 77}, {14, 60}, {28, 120}},
                 PageRead::Incomplete,
                 false,
                 std::map<int, int>{{0, 77}}});
    c.push_back({"bold: one minute digit after >",
                 {table, "<tr><td>Lamplight<td><b>1:23</b><td><B>12:34</B><td>x"},
                 {{0, 83}, {14, 754}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"minutes in front of the letter m",
                 {table, "<tr><td>Lamplight<td>1m:23s<td>12M:34s<td><i>7m:08s"},
                 {{0, 83}, {14, 754}, {28, 428}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"x5:07 reads 7 seconds (not below 5, so plausible)",
                 {table, "<tr><td>Lamplight<td>x5:07<td>x5:03<td>1:00"},
                 {{0, 7}, {14, kPenalty}, {28, 60}},
                 PageRead::Incomplete,
                 false});
    c.push_back({"a label with a colon and a blank is no time",
                 {table, "<tr><td>Lamplight<td>Time: 1:10<td>Best: n/a<td>2:00"},
                 {{0, 70}, {14, kPenalty}, {28, 120}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"N/A followed by D is no candidate",
                 {table, "<tr><td>Lamplight<td>N/AD 1:02<td>n/ad<td>n/a<td>3:00"},
                 {{0, 62}, {14, kPenalty}, {28, 180}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"the > of a tag in the last two characters is never scanned",
                 {table, "<tr><td>Lamplight", "<td>", "1:23", "<td>  ", "1:24", "<td>1:25"},
                 {{0, 84}, {14, 85}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"the start marker in a heading above the table",
                 {"<h2>LAMPlight and the rest</h2>", table, "<tr><td>x<td>1:01<td>1:02<td>1:03"},
                 {{0, 61}, {14, 62}, {28, 63}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"the start marker inside a longer word or an attribute",
                 {"<img src=\"slammer.gif\">", table, "<tr><td>x<td>1:01<td>1:02<td>1:03"},
                 {{0, 61}, {14, 62}, {28, 63}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"no start marker: no times at all",
                 {table, "<tr><td>Level 1<td>1:01<td>1:02<td>1:03"},
                 {},
                 PageRead::Incomplete,
                 true});
    c.push_back({"times before the start marker are ignored",
                 {table, "<tr><td>x<td>9:01<td>9:02<td>9:03</tr>",
                  "<tr><td>Lamplight<td>1:01<td>1:02<td>1:03"},
                 {{0, 61}, {14, 62}, {28, 63}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"nothing without the table start",
                 {"<tr><td>Lamplight<td>1:01<td>1:02<td>1:03"},
                 {},
                 PageRead::Incomplete,
                 true});
    c.push_back({"tags in any letter case",
                 {"<TABLE>", "<TR><TD>LampLight<Td>1:01<tD>1:02<TD>1:03"},
                 {{0, 61}, {14, 62}, {28, 63}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"th, thead and tbody open no cell or row",
                 {"<table><thead>", "<tr><th>Lamplight<th>1:01<td>1:02<th>1:03<td>1:04"},
                 {{0, 62}, {14, 64}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"a time of day in the table is taken",
                 {table, "<tr><td>Lamplight (updated 12:30)<td>1:00<td>2:00<td>3:00"},
                 {{0, 750}, {14, 60}, {28, 120}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"only two characters after the colon are seconds",
                 {table, "<tr><td>Lamplight<td>1:23.45<td>1:02:03<td>1:75"},
                 {{0, 83}, {14, 62}, {28, 135}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"three minute digits: only the two before the colon",
                 {table, "<tr><td>Lamplight<td>123:45<td> 5:06<td>-5:07"},
                 {{0, 1425}, {14, 306}, {28, kPenalty}},
                 PageRead::Incomplete,
                 false});
    c.push_back({"a colon at the start of a line",
                 {table, "<tr><td>Lamplight<td>  ", ":30"},
                 {{0, 30}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"a colon at position 2 of a line",
                 {table, "<tr><td>Lamplight<td>  ", "5:45"},
                 {{0, 345}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"the letter m at the start of a line",
                 {table, "<tr><td>Lamplight<td>  ", "m:45", "<td>  ", "5m:46"},
                 {{0, 45}, {14, 346}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"a > second to last in its line is never scanned",
                 {table, "<tr><td>Lamplight<td>x", "1:23<td>1:24"},
                 {{0, 84}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"the last two characters of a line are never scanned",
                 {table, "<tr><td>Lamplight<td>1:2", "3<td>N/", "A<td>xN/A"},
                 {{0, kPenalty}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"lines of two characters or fewer are not scanned",
                 {table, "<tr><td>Lamplight<td>", "<t", "d>", "1:23<td>2:34<td>3:45"},
                 {{0, 154}, {14, 225}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"a row of two times lets the next row fill its third cell",
                 {table, "<tr><td>Lamplight<td>1:01<td>1:02</tr>",
                  "<tr><td>Copper Crown<td>2:01<td>2:02<td>2:03</tr>"},
                 {{0, 61}, {14, 62}, {28, 121}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"a fourth cell in a row is ignored",
                 {table, "<tr><td>Lamplight<td>1:01<td>1:02<td>1:03<td>0:01</tr>",
                  "<tr><td>Copper Crown<td>2:01<td>2:02<td>2:03</tr>"},
                 {{0, 61}, {14, 62}, {28, 63}, {1, 121}, {15, 122}, {29, 123}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"each time needs its own cell",
                 {table, "<tr><td>Lamplight<td>1:01 1:02<td>1:03<td>1:04"},
                 {{0, 61}, {14, 63}, {28, 64}},
                 PageRead::Incomplete,
                 true});
    c.push_back({"a time inside a tag is not taken",
                 {table, "<tr><td>Lamplight<td><span title=\"1:11\">1:01<td>1:02<td>1:03"},
                 {{0, 61}, {14, 62}, {28, 63}},
                 PageRead::Incomplete,
                 true});

    Case full{"14 rows", fullTable(), fullTableValues(), PageRead::Complete, true};
    c.push_back(full);

    Case fifteen = full;
    fifteen.name = "a 15th row is not read";
    fifteen.lines.insert(fifteen.lines.end() - 1, row(0, "0:01", "0:02", "0:03"));
    c.push_back(fifteen);

    Case stopMidLine = full;
    stopMidLine.name = "reading stops at once after the 42nd time";
    stopMidLine.lines[15] += "<tr><td>x<td>0:01<td>0:01<td>0:01";
    c.push_back(stopMidLine);

    Case second = full;
    second.name = "a second table continues the first";
    second.lines.insert(second.lines.begin() + 9, "</table><p>More: 12:00</p><table>");
    c.push_back(second);

    Case oneLine{"the whole page on one line",
                 {join(fullTable(), "")},
                 fullTableValues(),
                 PageRead::Complete,
                 true};
    c.push_back(oneLine);

    Case allNa = full;
    allNa.name = "all N/A";
    allNa.lines.resize(2);
    for (int l = 0; l < kLevelCount; ++l)
        allNa.lines.push_back(row(l, "N/A", "n/a", "N/a"));
    for (auto& [cell, value] : allNa.expected)
        value = kPenalty;
    c.push_back(allNa);

    Case shortRow = full;
    shortRow.name = "a row short of one time leaves the page incomplete";
    shortRow.lines[5] = row(3, "1:00", "", "2:00");
    // Row 3 gives two times; the first time of row 4 fills its third cell, the
    // rest of row 4 stands outside a row, and rows 5 to 13 fill levels 4 to 12.
    shortRow.expected[cellIndex(3, 0)] = 60;
    shortRow.expected[cellIndex(3, 1)] = 120;
    shortRow.expected[cellIndex(3, 2)] = 100 + 4 * 3;
    for (int l = 4; l < kLevelCount; ++l)
        for (int d = 0; d < kDifficultyCount; ++d) {
            if (l + 1 < kLevelCount)
                shortRow.expected[cellIndex(l, d)] = 100 + (l + 1) * 3 + d;
            else
                shortRow.expected.erase(cellIndex(l, d));
        }
    shortRow.read = PageRead::Incomplete;
    c.push_back(shortRow);

    c.push_back({"an empty page", {}, {}, PageRead::Incomplete, true});
    return c;
}

struct Outcome {
    CellTimes times;
    PageRead read;
    bool pageOk;
};

Outcome parse(const std::string& page, const std::optional<std::map<int, int>>& timeFile) {
    MemberRecord member;
    member.Times.fill(kUntouched);
    member.PageOk = true;
    const PageRead read = parsePageText(page, member, kPenalty, [&](int l, int d, std::int16_t& v) {
        if (!timeFile)
            return false;
        const auto found = timeFile->find(cellIndex(l, d));
        if (found != timeFile->end())
            v = static_cast<std::int16_t>(found->second);
        return true;
    });
    return {member.Times, read, member.PageOk};
}

} // namespace

TEST(PageParser, StartMarkerIsTheFirstLevelsFirstThreeLettersInLowerCase) {
    EXPECT_EQ(startMarker(), "lam");
}

TEST(PageParser, EdgeCasesOfThePart) {
    for (const Case& c : cases()) {
        for (const char* end : {"\n", "\r\n"}) {
            SCOPED_TRACE(std::string(c.name) + (end[1] ? " (CR LF)" : " (LF)"));
            const Outcome got = parse(join(c.lines, end), c.timeFile);
            EXPECT_EQ(got.read, c.read);
            EXPECT_EQ(got.pageOk, c.pageOk);
            for (int cell = 0; cell < kCellCount; ++cell) {
                const auto expected = c.expected.find(cell);
                EXPECT_EQ(got.times[cell],
                          expected == c.expected.end() ? kUntouched : expected->second)
                    << "cell " << cell;
            }
        }
    }
}

TEST(PageParser, LastLineWithoutLineEndCounts) {
    const Outcome got = parse("<table>\n<tr><td>Lamplight<td>1:23<td>", std::nullopt);
    EXPECT_EQ(got.times[0], 83);
}

TEST(PageParser, ACrThatEndsNoLineIsAnOrdinaryCharacter) {
    // A lone CR does not end a line, so the > before it is scanned here.
    const Outcome got = parse("<table><tr><td>Lamplight<td>\r1:23\r\n", std::nullopt);
    EXPECT_EQ(got.times[0], 83);
    // A CR at the end of the last line (no LF after it) is a character of the line.
    const Outcome last = parse("<table><tr><td>Lamplight<td>\r1:23\r", std::nullopt);
    EXPECT_EQ(last.times[0], 83);
}

TEST(PageParser, NulAndHighBytesArePassedOver) {
    std::string page = "<table>\n<tr><td>Lamplight<td>";
    page += std::string("\0\xff\xe9", 3);
    page += "<b>1:23<td>\x80N/A<td>2:00\n";
    const Outcome got = parse(page, std::nullopt);
    EXPECT_EQ(got.times[0], 83);
    EXPECT_EQ(got.times[14], kPenalty);
    EXPECT_EQ(got.times[28], 120);
}

TEST(PageParser, ReadsTheMembersPageFile) {
    TempFolder folder;
    folder.write("download/Ann.html", join(fullTable(), "\r\n"));
    MemberRecord member;
    member.PageOk = true;
    EXPECT_EQ(parseMemberPage(folder.path(), member, "Ann", kPenalty), PageRead::Complete);
    for (const auto& [cell, value] : fullTableValues())
        EXPECT_EQ(member.Times[cell], value);
}

TEST(PageParser, AMissingPageFileIsAnEmptyPage) {
    TempFolder folder;
    MemberRecord member;
    member.Times.fill(kUntouched);
    member.PageOk = true;
    EXPECT_EQ(parseMemberPage(folder.path(), member, "Ann", kPenalty), PageRead::Incomplete);
    EXPECT_TRUE(member.PageOk);
    for (auto t : member.Times)
        EXPECT_EQ(t, kUntouched);
}

TEST(PageParser, ImplausibleTimeTakesTheCellFromTheTimeFile) {
    TempFolder folder;
    // Level 0: 11, 22, 33; level 1: 44, 55, 66.
    // Zones start at positions 1, 15 and 29.
    const auto zones = [](std::string a, std::string b, std::string c) {
        return a + std::string(14 - a.size(), ' ') + b + std::string(14 - b.size(), ' ') + c;
    };
    folder.write("download/Ann.txt",
                 crlf({zones(" 11 ", " 22 ", " 33 "), zones(" 44 ", " 55 ", " 66 ")}));
    folder.write("download/Ann.html", "<table>\n<tr><td>Lamplight<td>1:00<td>0:02<td>2:00\n"
                                      "<tr><td>Copper Crown<td>1:00<td>2:00<td>0:00\n"
                                      "<tr><td>Harbour Sprint<td>0:03<td>1:00<td>1:00\n");
    MemberRecord member;
    member.Times.fill(kUntouched);
    member.PageOk = true;
    EXPECT_EQ(parseMemberPage(folder.path(), member, "Ann", kPenalty), PageRead::Incomplete);
    EXPECT_FALSE(member.PageOk);
    EXPECT_EQ(member.Times[cellIndex(0, 1)], 22);
    EXPECT_EQ(member.Times[cellIndex(1, 2)], 66);
    // The file has no line for level 2: the cell keeps the value the page gave.
    EXPECT_EQ(member.Times[cellIndex(2, 0)], 3);
    EXPECT_EQ(member.Times[cellIndex(0, 0)], 60);
}

TEST(PageParser, FileReadInChunksGivesWhatTheWholeTextGives) {
    // Pages larger than the read buffer, lines longer than it, and line ends
    // falling on every side of a chunk boundary.
    std::vector<std::string> pages;
    const std::string table = join(fullTable(), "\r\n");
    for (std::size_t boundary : {16384, 32768, 65536})
        for (std::size_t pad = boundary - 40; pad <= boundary + 4; pad += 3)
            pages.push_back(std::string(pad, 'x') + "\r\n" + table);
    for (std::size_t pad = 32768 - 300; pad <= 32768 + 4; pad += 7) // the table across a boundary
        pages.push_back(std::string(pad, 'x') + "\r\n" + table);
    pages.push_back(std::string(200000, 'y') + "\n" + table);
    pages.push_back(std::string(150000, 'z') + join(fullTable(), ""));
    pages.push_back(join(fullTable(), "\n") + std::string(100000, 'w') + "\n" + table);
    std::string manyLines;
    for (int i = 0; i < 3000; ++i)
        manyLines += "<p>line " + std::to_string(i) + " of text: 1:23 N/A</p>\r\n";
    pages.push_back(manyLines + table);
    std::string shortRows = "<table>\n";
    for (int i = 0; i < 5000; ++i)
        shortRows += "<tr><td>Lamplight<td>" + std::to_string(1 + i % 9) + ":1" +
                     std::to_string(i % 10) + "</tr>\n";
    pages.push_back(shortRows);
    pages.push_back(table.substr(0, table.size() - 100)); // ends inside the table, no line end
    pages.push_back(table + "\r");                        // a last line that is a lone CR

    TempFolder folder;
    for (std::size_t n = 0; n < pages.size(); ++n) {
        SCOPED_TRACE("page " + std::to_string(n));
        folder.write("page.html", pages[n]);
        MemberRecord fromFile, fromText;
        fromFile.Times.fill(kUntouched);
        fromText.Times.fill(kUntouched);
        fromFile.PageOk = fromText.PageOk = true;
        const PageRead fileRead = parsePageFile(folder / "page.html", fromFile, kPenalty, {});
        const PageRead textRead = parsePageText(pages[n], fromText, kPenalty, {});
        EXPECT_EQ(fileRead, textRead);
        EXPECT_EQ(fromFile.Times, fromText.Times);
        EXPECT_EQ(fromFile.PageOk, fromText.PageOk);
    }
}

TEST(PageParser, ChunkedReadOfTheEdgeCases) {
    TempFolder folder;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        folder.write("page.html", join(c.lines, "\r\n"));
        MemberRecord member;
        member.Times.fill(kUntouched);
        member.PageOk = true;
        EXPECT_EQ(parsePageFile(folder / "page.html", member, kPenalty,
                                [&](int, int, std::int16_t& v) {
                                    if (c.timeFile)
                                        v = static_cast<std::int16_t>(c.timeFile->at(0));
                                    return c.timeFile.has_value();
                                }),
                  c.read);
        EXPECT_EQ(member.PageOk, c.pageOk);
        for (const auto& [cell, value] : c.expected)
            EXPECT_EQ(member.Times[cell], value) << "cell " << cell;
    }
}
