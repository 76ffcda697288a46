#include "core/harvest/page_parser.h"
#include "tests/support/member_times_fixture.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace quenmark {

namespace {

constexpr int P = 1200; // the penalty
constexpr int kUntouched = -1;

struct Case {
    std::string name;
    std::string page;            // its lines, separated by |
    std::map<int, int> expected; // cell -> value; every other cell stays untouched
    bool pageOk = true;
    std::optional<int> stored = std::nullopt; // the time file's value for any cell asked
    PageRead read = PageRead::Incomplete;
};

// The first row's cells.
std::map<int, int> r(int rookie, int veteran = kUntouched, int master = kUntouched) {
    std::map<int, int> cells = {{0, rookie}, {14, veteran}, {28, master}};
    std::erase_if(cells, [](const auto& cell) { return cell.second == kUntouched; });
    return cells;
}

std::vector<Case> cases() {
    std::vector<Case> c = {
        {"a row of the times table", "<table>|<tr><td>Lamplight<td>1:23<td>N/A<td>10:05",
         r(83, P, 605)},
        {"implausible with a time file", "<table>|<tr><td>Lamplight<td>0:04<td>1:00<td>2:00",
         r(77, 60, 120), false, 77},
        {"bold: one minute digit after >", "<table>|<tr><td>Lamplight<td><b>1:23</b><td><B>12:34",
         r(83, 754)},
        {"minutes in front of the letter m",
         "<table>|<tr><td>Lamplight<td>1m:23s<td>12M:34s<td><i>7m:08s", r(83, 754, 428)},
        {"x5:07 reads 7 seconds, x5:03 an implausible 3: the penalty without a time file",
         "<table>|<tr><td>Lamplight<td>x5:07<td>x5:03<td>1:00", r(7, P, 60), false},
        {"a label with a colon and a blank is no time",
         "<table>|<tr><td>Lamplight<td>Time: 1:10<td>Best: n/a<td>2:00", r(70, P, 120)},
        {"N/A followed by D is no candidate",
         "<table>|<tr><td>Lamplight<td>N/AD 1:02<td>n/ad<td>n/a<td>3:00", r(62, P, 180)},
        {"a tag whose > is in the last two characters stays open",
         "<table>|<tr><td>Lamplight|<td>|1:23|<td>  |1:24|<td>1:25", r(84, 85)},
        {"a > second to last in its line is never scanned",
         "<table>|<tr><td>Lamplight<td>x|1:23<td>1:24", r(84)},
        {"the last two characters of a line are never scanned",
         "<table>|<tr><td>Lamplight<td>1:2|3<td>N/|A<td>xN/A", r(P)},
        {"lines of two characters or fewer are not scanned",
         "<table>|<tr><td>Lamplight<td>|<t|d>|1:23<td>2:34<td>3:45", r(154, 225)},
        {"the start marker in any case, inside a word, above the table",
         "<h2><img src=\"sLAMmer.gif\"></h2>|<table>|<tr><td>x<td>1:01<td>1:02<td>1:03",
         r(61, 62, 63)},
        {"times before the start marker are not read",
         "<table>|<tr><td>x<td>9:01<td>9:02</tr>|<tr><td>Lamplight<td>1:01<td>1:02<td>1:03",
         r(61, 62, 63)},
        {"nothing without the table start", "<tr><td>Lamplight<td>1:01<td>1:02<td>1:03", {}},
        {"tags in any letter case", "<TABLE>|<TR><TD>LampLight<Td>1:01<tD>1:02<TD>1:03",
         r(61, 62, 63)},
        {"th, thead and tbody open no cell or row",
         "<table><thead>|<tr><th>Lamplight<th>1:01<td>1:02<th>1:03<td>1:04", r(62, 64)},
        {"a time of day in the table is taken",
         "<table>|<tr><td>Lamplight (updated 12:30)<td>1:00<td>2:00<td>3:00", r(750, 60, 120)},
        {"only two characters after the colon are seconds",
         "<table>|<tr><td>Lamplight<td>1:23.45<td>1:02:03<td>1:75", r(83, 62, 135)},
        {"three minute digits: only the two before the colon",
         "<table>|<tr><td>Lamplight<td>123:45<td> 5:06<td>-5:07", r(1425, 306, P), false},
        {"positions before the start of a line hold no character",
         "<table>|<tr><td>Lamplight<td>  |:30|<td>  |5:45|<td>  |m:45", r(30, 345, 45)},
        {"each time needs its own cell", "<table>|<tr><td>Lamplight<td>1:01 1:02<td>1:03<td>1:04",
         r(61, 63, 64)},
        {"a time inside a tag is not taken",
         "<table>|<tr><td>Lamplight<td><span title=\"1:11\">1:01<td>1:02<td>1:03", r(61, 62, 63)},
        {"a row of two cells lets the next row fill its third",
         "<table>|<tr><td>Lamplight<td>1:01<td>1:02</tr>|<tr><td>Copper<td>2:01<td>2:02",
         r(61, 62, 121)},
        {"a fourth cell in a row is ignored",
         "<table>|<tr><td>Lamplight<td>1:01<td>1:02<td>1:03<td>0:01</tr>|"
         "<tr><td>Copper<td>2:01<td>2:02<td>2:03</tr>",
         {{0, 61}, {14, 62}, {28, 63}, {1, 121}, {15, 122}, {29, 123}}},
        {"a CR that ends no line is an ordinary character", "<table><tr><td>Lamplight<td>\r1:23\r",
         r(83)},
        // CR-only line ends: the CR before the minute digit counts as a blank, so
        // 1:30 reads 90 seconds, not 30.
        {"a CR is a blank in the minutes", "<table>\r<tr><td>Lamplight\r<td>\r1:30\r<td>\r12:05\r",
         r(90, 725)},
        {"NUL and high bytes are passed over",
         "<table>|<tr><td>Lamplight<td>" + std::string("\0\xff\xe9", 3) +
             "<b>1:23<td>\x80N/A<td>2:00",
         r(83, P, 120)},
        {"an empty page", "", {}},
    };

    std::vector<std::string> lines = pageLines([](int cell) { return clockText(100 + cell); });
    Case full{"14 rows", join(lines, "|"), {}, true, std::nullopt, PageRead::Complete};
    for (int cell = 0; cell < kCellCount; ++cell)
        full.expected[cell] = 100 + cell;
    c.push_back(full);
    // The 14 rows read whole whatever comes before them or after the 42nd time.
    const auto fullAs = [&](std::string name, std::string page) {
        c.push_back(full);
        c.back().name = std::move(name);
        c.back().page = std::move(page);
    };
    std::string more = full.page;
    more.insert(more.rfind('|'), "<tr><td>x<td>0:01<td>0:01<td>0:01|" +
                                     row(0, "0:01", "0:02", "0:03") + "|" +
                                     std::string(100000, 'w'));
    fullAs("nothing after the 42nd time is read: not its line, not a 15th row", more);
    std::string second = full.page;
    second.insert(second.find("<tr><td>Dusk"), "</table><p>More: 12:00</p><table>|");
    fullAs("a second table continues the first", second);
    fullAs("the whole page on one line after a long text",
           std::string(150000, 'z') + join(lines, ""));
    // Lines longer than the read buffer, and line ends on every side of a chunk boundary.
    for (std::size_t boundary : {16384, 32768, 65536, 200000})
        for (std::size_t pad = boundary - 40; pad <= boundary + 4; pad += 3)
            fullAs("a line of " + std::to_string(pad) + " characters first",
                   std::string(pad, 'x') + "|" + full.page);
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "<p>line of text: 1:23 N/A</p>|";
    fullAs("many lines before the table", many + full.page);

    Case allNa{"all N/A", join(pageLines([](int) { return std::string("N/a"); }), "|"), {}};
    allNa.read = PageRead::Complete;
    for (int cell = 0; cell < kCellCount; ++cell)
        allNa.expected[cell] = P;
    c.push_back(allNa);

    // Row 3 gives two times; the first time of row 4 fills its third cell, the
    // rest of row 4 stands outside a row, and rows 5 to 13 fill levels 4 to 12.
    lines[5] = row(3, "1:00", "", "2:00");
    Case shortRow{"a row short of one cell leaves the page incomplete", join(lines, "|"),
                  full.expected};
    shortRow.expected[cellIndex(3, 0)] = 60;
    shortRow.expected[cellIndex(3, 1)] = 120;
    shortRow.expected[cellIndex(3, 2)] = 104;
    for (int d = 0; d < kDifficultyCount; ++d) {
        for (int l = 4; l < kLevelCount - 1; ++l)
            shortRow.expected[cellIndex(l, d)] = 100 + cellIndex(l + 1, d);
        shortRow.expected.erase(cellIndex(kLevelCount - 1, d));
    }
    c.push_back(shortRow);
    return c;
}

} // namespace

// Each page is read from memory, from a file read in chunks, and in small pieces.
TEST(PageParser, EdgeCases) {
    TempFolder folder;
    for (const Case& c : cases()) {
        const StoredTimeLookup lookup = [&](int, int, std::int16_t& v) {
            if (c.stored)
                v = static_cast<std::int16_t>(*c.stored);
            return c.stored.has_value();
        };
        // The last two characters of a line never include its line end, and a
        // last line without one counts all the same.
        for (std::string end : {"\n", "\r\n", ""}) {
            std::string page;
            for (char ch : c.page)
                if (ch != '|')
                    page += ch;
                else
                    page += end.empty() ? "\n" : end;
            if (!c.page.empty())
                page += end;
            folder.write("page.html", page);
            for (const char* way : {"whole", "file", "pieces"}) {
                SCOPED_TRACE(c.name +
                             (end.empty()      ? " (no end, "
                              : end[0] == '\r' ? " (CR LF, "
                                               : " (LF, ") +
                             way + ")");
                MemberRecord member;
                member.Times.fill(kUntouched);
                member.PageOk = true;
                PageRead read;
                if (way[0] == 'w') {
                    read = parsePageText(page, member, P, lookup);
                } else if (way[0] == 'f') {
                    read = parsePageFile(folder / "page.html", member, P, lookup);
                } else {
                    // Every piece boundary falls inside a tag, a time or a line end somewhere.
                    PageStream stream(member, P, lookup);
                    bool complete = false;
                    for (std::size_t at = 0, n = 0; at < page.size() && !complete; at += n)
                        complete = stream.feed(std::string_view(page).substr(at, n = 1 + at % 7));
                    read = complete ? PageRead::Complete : stream.finish();
                }
                EXPECT_EQ(read, c.read);
                EXPECT_EQ(member.PageOk, c.pageOk);
                for (int cell = 0; cell < kCellCount; ++cell) {
                    const auto found = c.expected.find(cell);
                    EXPECT_EQ(member.Times[cell],
                              found == c.expected.end() ? kUntouched : found->second)
                        << "cell " << cell;
                }
            }
        }
    }
}

} // namespace quenmark
