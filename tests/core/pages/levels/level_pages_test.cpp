#include "core/pages/levels/difficulty_pages.h"
#include "core/pages/levels/leaders_page.h"
#include "core/pages/levels/stage_pages.h"
#include "tests/core/pages/page_test_support.h"

namespace quenmark {

namespace {

// 25 points, 300 s penalty, rows left. All have 100 s and 25 points
// everywhere except on Lamplight:
//            Rookie         Veteran         Master
//   Ann   65 s  25 pts   3725 s 20 pts   50 s  25 pts   -> 70
//   Bob  300 s  20 pts    100 s 25 pts   60 s  22 pts   -> 67
//   Cy    65 s  25 pts    200 s 22 pts  300 s  20 pts   -> 67
TEST(StagePages, ListAndTableOfEveryLevel) {
    PageFixture f;
    f.use(7, 0, 0);
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
    const std::vector<std::string> last = pageLines(f.page("stage14.htm"));
    ASSERT_EQ(last.size(), 11u);
    EXPECT_EQ(last[2], "<font color=red>Ann</font> - <font color=yellow>75</font> points<br>");
    EXPECT_EQ(last[6], "<tr align=left><td><font size=5 color=red>Ann</td><td>1:40 / <font "
                       "color=yellow>25</td><td><font size=5 color=red>Ann</td><td>1:40 / <font "
                       "color=yellow>25</td><td><font size=5 color=red>Ann</td><td>1:40 / <font "
                       "color=yellow>25</td></tr>");
    EXPECT_EQ(last[10], "Updated Stamp 14");
}

// Lamplight: eight members above eleven who tie at rank 9: all nineteen are
// listed, the two below them are not. Copper Crown: all differ, so ten lines.
TEST(StagePages, TopTenTakesEveryoneTiedAtTheLimit) {
    PageFixture f;
    f.settings.pointColor = "white";
    for (int i = 0; i < 21; ++i) {
        f.members.push_back(makeMember("M" + std::to_string(i), "", "c"));
        f.members.back().Points[cellIndex(0, 1)] =
            static_cast<std::int16_t>(i < 8 ? 600 - i : (i < 19 ? 400 : 21 - i));
        f.members.back().Points[cellIndex(1, 0)] = static_cast<std::int16_t>(100 - i);
    }
    const std::vector<std::string> lines =
        pageLines(f.render(writeStagePages, "stage.html", markerLines(3), "stage1.htm"));
    ASSERT_EQ(lines.size(), 2u + 19u + 1u);
    EXPECT_EQ(lines[2], "<font color=c>M0</font> - <font color=white>600</font> points<br>");
    EXPECT_EQ(lines[9], "<font color=c>M7</font> - <font color=white>593</font> points<br>");
    for (int i = 8; i < 19; ++i)
        EXPECT_EQ(lines[i + 2], "<font color=c>M" + std::to_string(i) +
                                    "</font> - <font color=white>400</font> points<br>");
    const std::vector<std::string> copper = pageLines(f.page("stage2.htm"));
    ASSERT_EQ(copper.size(), 2u + 10u + 1u);
    EXPECT_EQ(copper[11], "<font color=c>M9</font> - <font color=white>91</font> points<br>");
}

// Six pages from one template, points first, each with its own title.
TEST(DifficultyPages, PointsThenTimePages) {
    PageFixture f;
    f.use(0, 3, 2);
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
    PageFixture f;
    f.use(4, 3, 1);
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

// Rookie: the record of level l (0 to 6) is shared by M0 up to M(6 - l), so
// M0 holds 7 records down to M7 with none: the table stops at rank 5. Master: six share one record,
// all rank 1, the next rank would be 7, so nobody else is listed.
TEST(LeadersPage, DifficultyTablesStopAfterRank5WithTheirTies) {
    PageFixture f;
    f.use(9, 3, 0);
    for (int i = 0; i < 8; ++i) {
        f.members.push_back(makeMember("M" + std::to_string(i), "", "c"));
        f.members.back().Points[cellIndex(5, 2)] = i >= 2 ? 10 : 0;
        for (int level = 0; level <= 6 - i; ++level)
            f.members.back().Points[cellIndex(level, 0)] = 10;
    }
    const std::vector<std::string> lines =
        pageLines(f.render(writeLeadersPage, "leaders.html", markerLines(4), "leaders.htm"));
    ASSERT_EQ(lines.size(), 9u + 6u + 9u + 7u);
    EXPECT_EQ(lines[13], "<tr align=left><td>5</td><td><font size=3 color=c>M4</td><td>3 records "
                         "(0 untied)</td></tr>");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(lines[24 + i], "<tr align=left><td>1</td><td><font size=5 color=c>M" +
                                     std::to_string(i + 2) +
                                     "</td><td>1 record (0 untied)</td></tr>");
}

} // namespace

} // namespace quenmark
