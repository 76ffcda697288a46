#include "core/pages/elite2_page.h"
#include "core/pages/elite_page.h"
#include "core/pages/roster_page.h"
#include "tests/core/pages/page_test_support.h"

namespace quenmark {

namespace {

// Ann, Bob and Dee: 60 s everywhere, Bob 50 s on Lamplight Rookie; Cy: 70 s,
// and 300 s (the N/A penalty) on every Master level. Points on 200.
TEST(ElitePage, FourMembers) {
    PageFixture f;
    f.use(0, 0, 1);
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
    // What the pages after this one read.
    EXPECT_TRUE(f.members[0].HoldsRecord);
    EXPECT_FALSE(f.members[2].HoldsRecord);
    EXPECT_EQ(f.members[0].DifficultyPoints, (std::array<std::int16_t, 3>{2797, 2800, 2800}));
    EXPECT_EQ(f.members[2].DifficultyTotal, (std::array<std::int32_t, 3>{980, 980, 4200}));
}

// Six holders of every cell: a break after the fifth; the holders table takes
// four to a row.
TEST(ElitePage, SixHolders) {
    PageFixture f;
    for (const char* name : {"A1", "A2", "A3", "A4", "A5", "A6"})
        f.members.push_back(makeMember(name, name, "c", 300, 200));
    f.records.fill(300);
    const std::vector<std::string> lines =
        pageLines(f.render(writeElitePage, "elite.html", markerLines(48), "elite.htm"));
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[1], "5:00<br><font size=2><font color=c>A1<font color=c>A2<font color=c>A3"
                        "<font color=c>A4<font color=c>A5<br><font color=c>A6");
    EXPECT_EQ(lines[47], "<tr><td><font size=2><font color=c>A1</font> - A1</td>"
                         "<td><font size=2><font color=c>A2</font> - A2</td>"
                         "<td><font size=2><font color=c>A3</font> - A3</td>"
                         "<td><font size=2><font color=c>A4</font> - A4</td></tr>");
    EXPECT_EQ(lines[48], "<tr><td><font size=2><font color=c>A5</font> - A5</td>"
                         "<td><font size=2><font color=c>A6</font> - A6</td></tr>");
}

// Points: 99 members with 2000 down to 1902, four tied at rank 100 with
// 1000, two below: the table stops after the four. Times all differ: 100 rows.
// Elite2 lists everybody.
TEST(ElitePage, StandingsStopAfterRank100WithItsTies) {
    PageFixture f;
    f.records.fill(kNoRecord); // no holders: the holders table is one empty line
    for (int i = 0; i < 105; ++i) {
        f.members.push_back(makeMember("M" + std::to_string(i), "", "c", i));
        f.members.back().Points[0] =
            static_cast<std::int16_t>(i < 99 ? 2000 - i : (i < 103 ? 1000 : 5));
    }
    std::vector<std::string> rows =
        pageLines(f.render(writeElitePage, "elite.html", markerLines(50), "elite.htm"));
    rows.erase(rows.begin(), rows.begin() + 48);
    ASSERT_EQ(rows.size(), 103u + 1u + 100u + 1u);
    EXPECT_EQ(rows[98], "<tr align=center><td>99</td><td><font color=c size=3>M98</td><td>1902"
                        "</td><td>0</td><td>0</td><td><b>1902</b></td></tr>");
    for (int i = 99; i < 103; ++i)
        EXPECT_EQ(rows[i], "<tr align=center><td>100</td><td><font color=c size=3>M" +
                               std::to_string(i) +
                               "</td><td>1000</td><td>0</td><td>0</td><td><b>1000</b></td></tr>");
    EXPECT_EQ(rows[203], "<tr align=center><td>100</td><td><font color=c size=3>M99</td><td>"
                         "23:06</td><td>23:06</td><td>23:06</td><td><b>1:09:18</b></td></tr>");
    EXPECT_EQ(
        pageLines(f.render(writeElite2Page, "elite2.html", markerLines(1), "elite2.htm")).size(),
        105u + 1u);
}

// "???" exactly is the mark of no address; anything else gets a mail link.
TEST(RosterPage, RowsInRosterOrderWithTheMailRule) {
    PageFixture f;
    f.use(0, 3, 0);
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

} // namespace

} // namespace quenmark
