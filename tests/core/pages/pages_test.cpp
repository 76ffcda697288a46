#include "core/pages/elite2_page.h"
#include "core/pages/elite_page.h"
#include "core/pages/levels/difficulty_pages.h"
#include "core/pages/levels/leaders_page.h"
#include "core/pages/levels/stage_pages.h"
#include "core/pages/roster_page.h"
#include "core/pages/site_pages.h"
#include "core/ports/clock.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace quenmark {

namespace {

// Stamps every page with the number of the call, so a test sees which page
// asked when.
struct CountingClock : Clock {
    int calls = 0;
    std::string dateStamp() override { return "Stamp " + std::to_string(++calls); }
    std::string timeOfDay() override { return "08:05"; }
};

// A member with the same time and points in all 42 cells.
MemberRecord makeMember(std::string name, std::string initials, std::string color, int time = 0,
                        int points = 0) {
    MemberRecord member;
    member.Name = std::move(name);
    member.Initials = std::move(initials);
    member.Color = std::move(color);
    member.Times.fill(static_cast<std::int16_t>(time));
    member.Points.fill(static_cast<std::int16_t>(points));
    return member;
}

// A page written out in a raw string after its opening line break; each line ends CR LF.
std::string pageText(std::string_view text) {
    std::string page;
    for (char ch : text.substr(1))
        page += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return page;
}

std::vector<std::string> markerLines(std::size_t count) {
    return std::vector<std::string>(count, "***");
}

// A main folder with templates/ and upload/, and what a page writer needs. The
// settings are the defaults but for the list positions given: points 0 = 200 ...
// 9 = 10; penalty 0 = 300 s, 3 = 1200 s; align 0 = left, 1 = center, 2 = right.
struct PageFixture {
    TempFolder folder;
    MemberTable members;
    RecordTable records{};
    SiteSettings settings = defaultSettings();
    CountingClock clock;

    explicit PageFixture(int pointMaxIndex = 0, int penaltyIndex = 3, int alignIndex = 1) {
        folder.makeFolders({"templates", "upload"});
        settings.pointMaxIndex = static_cast<std::int16_t>(pointMaxIndex);
        settings.penaltyIndex = static_cast<std::int16_t>(penaltyIndex);
        settings.alignIndex = static_cast<std::int16_t>(alignIndex);
    }
    PageContext context() { return PageContext(folder.path(), members, records, settings, clock); }
    void writeTemplate(const std::string& name, const std::vector<std::string>& lines) {
        folder.write("templates/" + name, crlf(lines));
    }
    std::string page(const std::string& name) const { return folder.read("upload/" + name); }
    // Writes the template, runs the page writer, returns the page `pageName`.
    std::string render(bool (*writer)(const PageContext&), const std::string& templateName,
                       const std::vector<std::string>& lines, const std::string& pageName) {
        writeTemplate(templateName, lines);
        EXPECT_TRUE(writer(context()));
        return page(pageName);
    }
};

// Ann, Bob and Dee: 60 s everywhere, Bob 50 s on Lamplight Rookie; Cy: 70 s,
// and 300 s (the N/A penalty) on every Master level. Points on 200.
TEST(ElitePage, FourMembers) {
    PageFixture f(0, 0, 1);
    f.members = {makeMember("Ann", "AN", "red", 60, 200), makeMember("Bob", "BO", "blue", 60, 200),
                 makeMember("Cy", "CY", "green", 70, 194),
                 makeMember("Dee", "DE", "purple", 60, 200)};
    f.members[1].Times[0] = 50;
    f.members[0].Points[0] = f.members[3].Points[0] = 197;
    for (int level = 0; level < kLevelCount; ++level)
        f.members[2].Times[cellIndex(level, 2)] = 300;
    f.members[2].DifficultyTotal = {99999, 1, 2}; // left from earlier steps
    f.records.fill(60);
    f.records[0] = 50;
    std::vector<std::string> lines = {"<p>Members: ***</p>"};
    lines.insert(lines.end(), 42, "<td>***</td>");
    lines.insert(lines.end(), {"R ***", "V ***", "M ***", "All ***", "<table>", "***", "</table>",
                               "<tr>***</tr>", "***", "Updated ***", "Spare ***"});

    std::string expected = pageText(R"(
<p>Members: 4</p>
<td>0:50<br><font size=2><font color=blue>BO</td>
)");
    for (int cell = 2; cell <= 42; ++cell)
        expected += pageText(R"(
<td>1:00<br><font size=2><font color=red>AN<font color=blue>BO<font color=purple>DE</td>
)");
    expected += pageText(R"(
R 13:50
V 14:00
M 14:00
All 41:50
<table>
<tr><td><font size=2><font color=red>AN</font> - Ann</td><td><font size=2><font color=blue>BO</font> - Bob</td><td><font size=2><font color=purple>DE</font> - Dee</td></tr>

</table>
<tr align=center><td>1</td><td><font color=blue size=5>Bob</td><td>2800</td><td>2800</td><td>2800</td><td><b>8400</b></td></tr>
<tr align=center><td>2</td><td><font color=red size=3>Ann</td><td>2797</td><td>2800</td><td>2800</td><td><b>8397</b></td></tr>
<tr align=center><td>2</td><td><font color=purple size=3>Dee</td><td>2797</td><td>2800</td><td>2800</td><td><b>8397</b></td></tr>
<tr align=center><td>4</td><td><font color=green size=3>Cy</td><td>2716</td><td>2716</td><td>2716</td><td><b>8148</b></td></tr>

<tr align=center><td>1</td><td><font color=blue size=5>Bob</td><td>13:50</td><td>14:00</td><td>14:00</td><td><b>0:41:50</b></td></tr>
<tr align=center><td>2</td><td><font color=red size=3>Ann</td><td>14:00</td><td>14:00</td><td>14:00</td><td><b>0:42:00</b></td></tr>
<tr align=center><td>2</td><td><font color=purple size=3>Dee</td><td>14:00</td><td>14:00</td><td>14:00</td><td><b>0:42:00</b></td></tr>
<tr align=center><td>4</td><td><font color=green size=3>Cy</td><td>16:20</td><td>16:20</td><td>1:10:00</td><td><b>1:42:40</b></td></tr>

Updated Stamp 1
Spare ***
)");
    EXPECT_EQ(f.render(writeElitePage, "elite.html", lines, "elite.htm"), expected);
}

// Six holders of every cell: a break after the fifth; the holders table takes
// four to a row.
TEST(ElitePage, SixHolders) {
    PageFixture f;
    for (const char* name : {"A1", "A2", "A3", "A4", "A5", "A6"})
        f.members.push_back(makeMember(name, name, "c", 300, 200));
    f.records.fill(300);
    const std::string page = f.render(writeElitePage, "elite.html", markerLines(48), "elite.htm");
    EXPECT_NE(page.find("\r\n5:00<br><font size=2><font color=c>A1<font color=c>A2<font color=c>A3"
                        "<font color=c>A4<font color=c>A5<br><font color=c>A6\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("\r\n<tr><td><font size=2><font color=c>A1</font> - A1</td>"
                        "<td><font size=2><font color=c>A2</font> - A2</td>"
                        "<td><font size=2><font color=c>A3</font> - A3</td>"
                        "<td><font size=2><font color=c>A4</font> - A4</td></tr>\r\n"
                        "<tr><td><font size=2><font color=c>A5</font> - A5</td>"
                        "<td><font size=2><font color=c>A6</font> - A6</td></tr>\r\n"),
              std::string::npos);
}

// "???" exactly is the mark of no address; anything else gets a mail link.
TEST(RosterPage, RowsInRosterOrderWithTheMailRule) {
    PageFixture f(0, 3, 0);
    f.members = {makeMember("Zed", "", "red"), makeMember("Ann", "", "blue"),
                 makeMember("Cy", "", "green"), makeMember("Dee", "", "#00FF00")};
    const char* mails[] = {"zed@example.org", "???", "", "??? "};
    for (std::size_t i = 0; i < 4; ++i) {
        f.members[i].Page = "http://x.org/" + f.members[i].Name;
        f.members[i].Email = mails[i];
    }
    f.members[0].Page += " times.html";
    EXPECT_EQ(f.render(writeRosterPage, "roster.html",
                       {"<table>", "<tr><th>Name</th></tr> ***", "</table>", "*** and ***", "***"},
                       "roster.htm"),
              pageText(R"(
<table>
<tr align=left><td><font color=red>Zed</td><td><a href=http://x.org/Zed times.html>(times)</a></td><td><a href=mailto:zed@example.org>(e-mail)</a></td></tr>
<tr align=left><td><font color=blue>Ann</td><td><a href=http://x.org/Ann>(times)</a></td><td>???</td></tr>
<tr align=left><td><font color=green>Cy</td><td><a href=http://x.org/Cy>(times)</a></td><td><a href=mailto:>(e-mail)</a></td></tr>
<tr align=left><td><font color=#00FF00>Dee</td><td><a href=http://x.org/Dee>(times)</a></td><td><a href=mailto:??? >(e-mail)</a></td></tr>

</table>
Stamp 1 and Stamp 1
***
)"));
}

// 25 points, 300 s penalty, rows left. All have 100 s and 25 points
// everywhere except on Lamplight:
//            Rookie         Veteran         Master
//   Ann   65 s  25 pts   3725 s 20 pts   50 s  25 pts   -> 70
//   Bob  300 s  20 pts    100 s 25 pts   60 s  22 pts   -> 67
//   Cy    65 s  25 pts    200 s 22 pts  300 s  20 pts   -> 67
TEST(StagePages, ListAndTableOfEveryLevel) {
    PageFixture f(7, 0, 0);
    f.members = {makeMember("Ann", "AN", "red", 100, 25), makeMember("Bob", "BO", "blue", 100, 25),
                 makeMember("Cy", "CY", "green", 100, 25)};
    const int lamplight[3][6] = {
        {65, 3725, 50, 25, 20, 25}, {300, 100, 60, 20, 25, 22}, {65, 200, 300, 25, 22, 20}};
    for (int m = 0; m < 3; ++m)
        for (int d = 0; d < kDifficultyCount; ++d) {
            f.members[m].Times[cellIndex(0, d)] = static_cast<std::int16_t>(lamplight[m][d]);
            f.members[m].Points[cellIndex(0, d)] = static_cast<std::int16_t>(lamplight[m][d + 3]);
        }
    EXPECT_EQ(f.render(writeStagePages, "stage.html",
                       {"<h1>***</h1>", "***", "***", "***", "Updated ***"}, "stage1.htm"),
              pageText(R"(
<h1>Lamplight</h1>
Lamplight
<font color=red>Ann</font> - <font color=yellow>70</font> points<br>
<font color=blue>Bob</font> - <font color=yellow>67</font> points<br>
<font color=green>Cy</font> - <font color=yellow>67</font> points<br>

<tr align=left><td><font size=5 color=red>Ann</td><td>1:05 / <font color=yellow>25</td><td><font size=5 color=blue>Bob</td><td>1:40 / <font color=yellow>25</td><td><font size=5 color=red>Ann</td><td>0:50 / <font color=yellow>25</td></tr>
<tr align=left><td><font size=5 color=green>Cy</td><td>1:05 / <font color=yellow>25</td><td><font size=3 color=green>Cy</td><td>3:20 / <font color=yellow>22</td><td><font size=3 color=blue>Bob</td><td>1:00 / <font color=yellow>22</td></tr>
<tr align=left><td><font size=3 color=blue>Bob</td><td>N/A / <font color=yellow>20</td><td><font size=3 color=red>Ann</td><td>1:02:05 / <font color=yellow>20</td><td><font size=3 color=green>Cy</td><td>N/A / <font color=yellow>20</td></tr>

Updated Stamp 1
)"));
    // Reactor Core, the last page, reads its own cells: everybody ties, so roster order.
    EXPECT_TRUE(
        f.page("stage14.htm")
            .starts_with("<h1>Reactor Core</h1>\r\nReactor Core\r\n<font color=red>Ann</font> "
                         "- <font color=yellow>75</font> points<br>"));
}

// Six pages from one template, points first, each with its own title.
TEST(DifficultyPages, PointsThenTimePages) {
    PageFixture f(0, 3, 2);
    f.members = {makeMember("Ann", "AN", "red"), makeMember("Bob", "BO", "blue"),
                 makeMember("Cy", "CY", "green")};
    f.members[0].DifficultyPoints = {100, 50, 0};
    f.members[0].DifficultyTotal = {3599, 3600, 60};
    f.members[1].DifficultyPoints = {100, 40, 0};
    f.members[1].DifficultyTotal = {59, 16800, 60};
    f.members[2].DifficultyPoints = {90, 60, 0};
    f.members[2].DifficultyTotal = {754, 4200, 60};
    f.writeTemplate("diff.html", {"<h1>*** Standings</h1>", "<title>***</title>", "***"});
    ASSERT_TRUE(writeDifficultyPages(f.context(), DifficultyPageKind::Points));
    ASSERT_TRUE(writeDifficultyPages(f.context(), DifficultyPageKind::Time));
    std::string pages;
    for (const char* page : {"diffp-1", "diffp-2", "diffp-3", "difft-1", "difft-2", "difft-3"})
        pages += f.page(page + std::string(".htm"));
    EXPECT_EQ(pages, pageText(R"(
<h1>Rookie Point Standings</h1>
<title>Rookie Point</title>
<tr align=right><td>1</td><td><font color=red size=5>Ann</td><td><b>100</b></td></tr>
<tr align=right><td>1</td><td><font color=blue size=5>Bob</td><td><b>100</b></td></tr>
<tr align=right><td>3</td><td><font color=green size=3>Cy</td><td><b>90</b></td></tr>

<h1>Veteran Point Standings</h1>
<title>Veteran Point</title>
<tr align=right><td>1</td><td><font color=green size=5>Cy</td><td><b>60</b></td></tr>
<tr align=right><td>2</td><td><font color=red size=3>Ann</td><td><b>50</b></td></tr>
<tr align=right><td>3</td><td><font color=blue size=3>Bob</td><td><b>40</b></td></tr>

<h1>Master Point Standings</h1>
<title>Master Point</title>
<tr align=right><td>1</td><td><font color=red size=5>Ann</td><td><b>0</b></td></tr>
<tr align=right><td>1</td><td><font color=blue size=5>Bob</td><td><b>0</b></td></tr>
<tr align=right><td>1</td><td><font color=green size=5>Cy</td><td><b>0</b></td></tr>

<h1>Rookie Time Standings</h1>
<title>Rookie Time</title>
<tr align=right><td>1</td><td><font color=blue size=5>Bob</td><td><b>0:59</b></td></tr>
<tr align=right><td>2</td><td><font color=green size=3>Cy</td><td><b>12:34</b></td></tr>
<tr align=right><td>3</td><td><font color=red size=3>Ann</td><td><b>59:59</b></td></tr>

<h1>Veteran Time Standings</h1>
<title>Veteran Time</title>
<tr align=right><td>1</td><td><font color=red size=5>Ann</td><td><b>1:00:00</b></td></tr>
<tr align=right><td>2</td><td><font color=green size=3>Cy</td><td><b>1:10:00</b></td></tr>
<tr align=right><td>3</td><td><font color=blue size=3>Bob</td><td><b>4:40:00</b></td></tr>

<h1>Master Time Standings</h1>
<title>Master Time</title>
<tr align=right><td>1</td><td><font color=red size=5>Ann</td><td><b>1:00</b></td></tr>
<tr align=right><td>1</td><td><font color=blue size=5>Bob</td><td><b>1:00</b></td></tr>
<tr align=right><td>1</td><td><font color=green size=5>Cy</td><td><b>1:00</b></td></tr>

)"));
}

// Points of 100 mark a record:
//   Ann  Rookie levels 1-3 alone, Veteran level 1 with Bob   -> 4 records, 3 untied
//   Bob  Veteran level 1 with Ann, Master level 1 alone      -> 2 records, 1 untied
//   Cy   Master levels 2 and 3 alone                          -> 2 records, 2 untied
//   Dee  none
//   Eve  Rookie level 4 alone                                 -> 1 record, 1 untied
// Fewer than five hold records on each difficulty: the rest share the next rank.
TEST(LeadersPage, OverallAndDifficultyTables) {
    PageFixture f(4, 3, 1);
    f.members = {makeMember("Ann", "AN", "red", 100, 97), makeMember("Bob", "BO", "blue", 100, 97),
                 makeMember("Cy", "CY", "green", 100, 97),
                 makeMember("Dee", "DE", "purple", 100, 97),
                 makeMember("Eve", "EV", "orange", 100, 97)};
    const int records[][3] = {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 0, 1}, {1, 0, 1},
                              {1, 0, 2}, {2, 1, 2}, {2, 2, 2}, {4, 3, 0}};
    for (const auto& [member, level, difficulty] : records) // as the table above
        f.members[member].Points[cellIndex(level, difficulty)] = 100;
    EXPECT_EQ(f.render(writeLeadersPage, "leaders.html", {"***", "***", "***", "***", "<p>***</p>"},
                       "leaders.htm"),
              pageText(R"(
<tr align=center><td>1</td><td><font size=5 color=red>Ann</td><td>3 (3)</td><td>1 (0)</td><td>0 (0)</td><td><b>4 records (3 untied)</b></td></tr>
<tr align=center><td>2</td><td><font size=3 color=green>Cy</td><td>0 (0)</td><td>0 (0)</td><td>2 (2)</td><td><b>2 records (2 untied)</b></td></tr>
<tr align=center><td>3</td><td><font size=3 color=blue>Bob</td><td>0 (0)</td><td>1 (0)</td><td>1 (1)</td><td><b>2 records (1 untied)</b></td></tr>
<tr align=center><td>4</td><td><font size=3 color=orange>Eve</td><td>1 (1)</td><td>0 (0)</td><td>0 (0)</td><td><b>1 record (1 untied)</b></td></tr>
<tr align=center><td>5</td><td><font size=3 color=purple>Dee</td><td>0 (0)</td><td>0 (0)</td><td>0 (0)</td><td><b>0 records (0 untied)</b></td></tr>

<tr align=center><td>1</td><td><font size=5 color=red>Ann</td><td>3 records (3 untied)</td></tr>
<tr align=center><td>2</td><td><font size=3 color=orange>Eve</td><td>1 record (1 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=blue>Bob</td><td>0 records (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=green>Cy</td><td>0 records (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=purple>Dee</td><td>0 records (0 untied)</td></tr>

<tr align=center><td>1</td><td><font size=5 color=red>Ann</td><td>1 record (0 untied)</td></tr>
<tr align=center><td>1</td><td><font size=5 color=blue>Bob</td><td>1 record (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=green>Cy</td><td>0 records (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=purple>Dee</td><td>0 records (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=orange>Eve</td><td>0 records (0 untied)</td></tr>

<tr align=center><td>1</td><td><font size=5 color=green>Cy</td><td>2 records (2 untied)</td></tr>
<tr align=center><td>2</td><td><font size=3 color=blue>Bob</td><td>1 record (1 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=red>Ann</td><td>0 records (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=purple>Dee</td><td>0 records (0 untied)</td></tr>
<tr align=center><td>3</td><td><font size=3 color=orange>Eve</td><td>0 records (0 untied)</td></tr>

<p>Stamp 1</p>
)"));
}

// A limited table lists the members ranked at its limit or better, all tied at
// the limit included. `limit` + 4 members: all scores differ, or limit - 1
// members lead three tied at the limit and two below. A score is points and
// (less) time in Lamplight Rookie, or that many Rookie records. Elite2 lists
// everybody.
TEST(RankedTables, StopAfterTheLimitWithEveryoneTiedAtIt) {
    const struct {
        const char* page;
        bool (*write)(const PageContext&);
        const char* templateFile;
        std::size_t markers;
        int limit;
        bool records;
        bool tied;
        std::size_t lines;
    } cases[] = {
        {"stage1.htm", writeStagePages, "stage.html", 3, 10, false, true, 2 + (12 + 1)},
        {"stage1.htm", writeStagePages, "stage.html", 3, 10, false, false, 2 + (10 + 1)},
        {"leaders.htm", writeLeadersPage, "leaders.html", 2, 5, true, true, (9 + 1) + (7 + 1)},
        {"leaders.htm", writeLeadersPage, "leaders.html", 2, 5, true, false, (9 + 1) + (5 + 1)},
        {"elite.htm", writeElitePage, "elite.html", 50, 100, false, true, 48 + 2 * (102 + 1)},
        {"elite.htm", writeElitePage, "elite.html", 50, 100, false, false, 48 + 2 * (100 + 1)},
        {"elite2.htm", writeElite2Page, "elite2.html", 2, 100, false, true, 2 * (104 + 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.page) + (c.tied ? " tied" : " all differ"));
        PageFixture f;
        f.records.fill(kNoRecord);
        for (int i = 0; i < c.limit + 4; ++i) {
            const bool above = !c.tied || i < c.limit - 1;
            const int score = above ? c.limit + 4 - i : (i < c.limit + 2 ? 2 : c.limit + 3 - i);
            MemberRecord& m = f.members.emplace_back(makeMember("M" + std::to_string(i), "", "c"));
            for (int level = 0; c.records && level < score; ++level)
                m.Points[cellIndex(level, 0)] = 200;
            if (!c.records) {
                m.Points[0] = m.DifficultyPoints[0] = static_cast<std::int16_t>(score);
                m.Times[0] = static_cast<std::int16_t>(1000 - score);
                m.DifficultyTotal[0] = 1000 - score;
            }
        }
        EXPECT_EQ(std::ranges::count(
                      f.render(c.write, c.templateFile, markerLines(c.markers), c.page), '\n'),
                  c.lines);
    }
}

// Templates whose last marker is the page's date, so the stamps number the
// pages in the order they were written. The points page has no date.
struct SiteFixture : PageFixture {
    SiteFixture() {
        writeTemplate("elite.html", markerLines(51));
        writeTemplate("elite2.html", markerLines(3));
        writeTemplate("stage.html", markerLines(5));
        writeTemplate("diff.html", markerLines(4));
        writeTemplate("leaders.html", markerLines(5));
        writeTemplate("roster.html", markerLines(2));
        writeTemplate("points.html", markerLines(9));
    }
    std::optional<OperatorMessage> run() {
        return writeSitePages(folder.path(), members, records, settings, clock);
    }
};

// Every page in the order a run writes them (the stamps tell), without members;
// a template gone after the run's checks stops the run at its first page, with
// its name, the pages before it written.
TEST(SitePages, EveryPageInOrderUntilAMissingTemplate) {
    const std::pair<std::string, int> cases[] = {
        {"", 25},          {"elite.html", 0},    {"elite2.html", 1},  {"stage.html", 2},
        {"diff.html", 16}, {"leaders.html", 22}, {"roster.html", 23}, {"points.html", 24}};
    for (const auto& [missing, written] : cases) {
        SCOPED_TRACE(missing);
        SiteFixture f;
        if (!missing.empty())
            std::filesystem::remove(f.folder / ("templates/" + missing));
        EXPECT_EQ(f.run(), missing.empty() ? std::nullopt
                                           : std::optional(errorMessage("\"templates/" + missing +
                                                                        "\" could not be found.")));
        EXPECT_EQ(f.folder.count("upload"), written);
        std::istringstream order("elite elite2 stage1 stage2 stage3 stage4 stage5 stage6 stage7 "
                                 "stage8 stage9 stage10 stage11 stage12 stage13 stage14 diffp-1 "
                                 "diffp-2 diffp-3 difft-1 difft-2 difft-3 leaders roster");
        std::string page;
        for (int stamp = 1; stamp <= written && order >> page; ++stamp)
            EXPECT_TRUE(f.page(page + ".htm").ends_with("Stamp " + std::to_string(stamp) + "\r\n"))
                << page << " is not page " << stamp;
    }
    SiteFixture f;
    ASSERT_EQ(f.run(), std::nullopt);
    EXPECT_EQ(f.page("points.htm"),
              crlf({"<font color=yellow>200</font>", "<font color=yellow>197</font>",
                    "<font color=yellow>195</font>", "<font color=yellow>194</font>",
                    "<font color=yellow>193</font>", "<font color=yellow>192</font>", "197",
                    "yellow", "8400"}));
}

// The elite page computes the difficulty totals that later pages only read (its
// own test shows them recomputed): without its standings markers they stay as
// they were.
TEST(SitePages, LaterPagesReadTheTotalsTheElitePageLeft) {
    SiteFixture f;
    f.members = {makeMember("Ann", "AN", "red", 100, 200)};
    f.members[0].DifficultyTotal = {5, 6, 7};
    f.records.fill(100);
    f.writeTemplate("elite.html", markerLines(1));
    ASSERT_EQ(f.run(), std::nullopt);
    EXPECT_EQ(f.page("elite2.htm"), pageText(R"(
<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td>0</td><td>0</td><td>0</td><td><b>0</b></td></tr>

<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td>0:05</td><td>0:06</td><td>0:07</td><td><b>0:00:18</b></td></tr>

Stamp 1
)"));
}

} // namespace

} // namespace quenmark
