#include "pages/elite_page.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>

namespace {

// Lines "***" for markers 0 to 50 of the elite page, with a surplus 51st.
std::vector<std::string> eliteTemplate() {
    std::vector<std::string> lines = {"<p>Members: ***</p>"};
    for (int marker = 1; marker <= 42; ++marker)
        lines.push_back("<td>***</td>");
    lines.insert(lines.end(), {"R ***", "V ***", "M ***", "All ***", "<table>", "***", "</table>",
                               "<table>", "***", "</table>", "<table>", "<tr>***</tr>", "</table>",
                               "Updated ***", "Spare ***"});
    return lines;
}

struct EliteFixture : PageFixture {
    void write() {
        folder.write("templates/elite.html", joinCrlf(eliteTemplate()));
        ASSERT_TRUE(writeElitePage(context()));
    }
};

// Ann, Bob, Cy and Dee. Ann and Dee: 60 s everywhere. Bob: 60 s, but 50 s on
// Lamplight Rookie. Cy: 70 s, 300 s on every Master level. Points on 200.
void fillFourMembers(EliteFixture& f) {
    f.settings = pageSettings(0, 3, 1);
    f.members = {makeMember("Ann", "AN", "red"), makeMember("Bob", "BO", "blue"),
                 makeMember("Cy", "CY", "green"), makeMember("Dee", "DE", "purple")};
    setAllCells(f.members[0], 60, 200);
    setAllCells(f.members[1], 60, 200);
    setAllCells(f.members[2], 70, 194);
    setAllCells(f.members[3], 60, 200);
    f.members[1].Times[0] = 50;
    f.members[0].Points[0] = 197;
    f.members[3].Points[0] = 197;
    for (int level = 0; level < kLevelCount; ++level)
        f.members[2].Times[cellIndex(level, 2)] = 300;
    // Left from earlier steps: the time table starts afresh.
    f.members[2].DifficultyTotal = {99999, 1, 2};
    f.records.fill(60);
    f.records[0] = 50;
}

TEST(ElitePage, FourMembers) {
    EliteFixture f;
    fillFourMembers(f);
    f.write();

    std::vector<std::string> expected = {"<p>Members: 4</p>",
                                         "<td>0:50<br><font size=2><font color=blue>BO</td>"};
    for (int marker = 2; marker <= 42; ++marker)
        expected.push_back("<td>1:00<br><font size=2><font color=red>AN<font color=blue>BO"
                           "<font color=purple>DE</td>");
    expected.insert(
        expected.end(),
        {"R 13:50",
         "V 14:00",
         "M 14:00",
         "All 41:50",
         "<table>",
         "<tr><td><font size=2><font color=red>AN</font> - Ann</td>"
         "<td><font size=2><font color=blue>BO</font> - Bob</td>"
         "<td><font size=2><font color=purple>DE</font> - Dee</td></tr>",
         "",
         "</table>",
         "<table>",
         "<tr align=center><td>1</td><td><font color=blue size=5>Bob</td><td>2800</td>"
         "<td>2800</td><td>2800</td><td><b>8400</b></td></tr>",
         "<tr align=center><td>2</td><td><font color=red size=3>Ann</td><td>2797</td>"
         "<td>2800</td><td>2800</td><td><b>8397</b></td></tr>",
         "<tr align=center><td>2</td><td><font color=purple size=3>Dee</td><td>2797</td>"
         "<td>2800</td><td>2800</td><td><b>8397</b></td></tr>",
         "<tr align=center><td>4</td><td><font color=green size=3>Cy</td><td>2716</td>"
         "<td>2716</td><td>2716</td><td><b>8148</b></td></tr>",
         "",
         "</table>",
         "<table>",
         "<tr align=center><td>1</td><td><font color=blue size=5>Bob</td><td>13:50</td>"
         "<td>14:00</td><td>14:00</td><td><b>0:41:50</b></td></tr>",
         "<tr align=center><td>2</td><td><font color=red size=3>Ann</td><td>14:00</td>"
         "<td>14:00</td><td>14:00</td><td><b>0:42:00</b></td></tr>",
         "<tr align=center><td>2</td><td><font color=purple size=3>Dee</td><td>14:00</td>"
         "<td>14:00</td><td>14:00</td><td><b>0:42:00</b></td></tr>",
         "<tr align=center><td>4</td><td><font color=green size=3>Cy</td><td>16:20</td>"
         "<td>16:20</td><td>1:10:00</td><td><b>1:42:40</b></td></tr>",
         "",
         "</table>",
         "Updated Stamp 1",
         "Spare ***"});
    EXPECT_EQ(f.page("elite.htm"), joinCrlf(expected));

    // What the pages after this one read.
    EXPECT_TRUE(f.members[0].HoldsRecord);
    EXPECT_FALSE(f.members[2].HoldsRecord);
    EXPECT_EQ(f.members[0].DifficultyPoints, (std::array<std::int16_t, 3>{2797, 2800, 2800}));
    EXPECT_EQ(f.members[2].DifficultyTotal, (std::array<std::int32_t, 3>{980, 980, 4200}));
    EXPECT_EQ(f.members[2].Rank, 4);
}

TEST(ElitePage, NoMembers) {
    EliteFixture f;
    f.records.fill(kNoRecord);
    f.write();
    std::vector<std::string> expected = {"<p>Members: 0</p>"};
    for (int marker = 1; marker <= 42; ++marker)
        expected.push_back("<td>166:40<br><font size=2></td>");
    expected.insert(expected.end(), {"R 2333:20", "V 2333:20", "M 2333:20", "All 116:40:00",
                                     "<table>", "", "</table>", "<table>", "", "</table>",
                                     "<table>", "", "</table>", "Updated Stamp 1", "Spare ***"});
    EXPECT_EQ(f.page("elite.htm"), joinCrlf(expected));
}

// Holders of one cell break the line after every fifth; the holders table
// takes four to a row.
TEST(ElitePage, ManyHolders) {
    EliteFixture f;
    for (const char* name : {"A1", "A2", "A3", "A4", "A5", "A6"}) {
        f.members.push_back(makeMember(name, name, "c"));
        setAllCells(f.members.back(), 300, 200);
    }
    f.records.fill(300);
    f.folder.write(
        "templates/elite.html",
        crlf({"***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***",
              "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***",
              "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***",
              "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***", "***"}));
    ASSERT_TRUE(writeElitePage(f.context()));
    const std::vector<std::string> lines = pageLines(f.page("elite.htm"));
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[1], "5:00<br><font size=2><font color=c>A1<font color=c>A2<font color=c>A3"
                        "<font color=c>A4<font color=c>A5<br><font color=c>A6");
    EXPECT_EQ(lines[47], "<tr><td><font size=2><font color=c>A1</font> - A1</td>"
                         "<td><font size=2><font color=c>A2</font> - A2</td>"
                         "<td><font size=2><font color=c>A3</font> - A3</td>"
                         "<td><font size=2><font color=c>A4</font> - A4</td></tr>");
    EXPECT_EQ(lines[48], "<tr><td><font size=2><font color=c>A5</font> - A5</td>"
                         "<td><font size=2><font color=c>A6</font> - A6</td></tr>");
    EXPECT_EQ(lines[49], "");
}

// Rows stop after rank 100, but every member tied at 100 is listed.
TEST(ElitePage, StandingsStopAfterRank100WithTheTiesAtTheLimit) {
    EliteFixture f;
    for (int i = 0; i < 105; ++i) {
        f.members.push_back(makeMember("M" + std::to_string(i), "", "c"));
        // Totals 2000, 1999, ... for the first 99; four tie at rank 100; two below.
        const int points = i < 99 ? 2000 - i : (i < 103 ? 1000 : 900 - i);
        f.members.back().Points[0] = static_cast<std::int16_t>(points);
    }
    std::vector<std::string> lines(49, "***");
    f.folder.write("templates/elite.html", joinCrlf(lines));
    ASSERT_TRUE(writeElitePage(f.context()));
    std::vector<std::string> rows;
    for (const std::string& line : pageLines(f.page("elite.htm")))
        if (line.starts_with("<tr align="))
            rows.push_back(line);
    ASSERT_EQ(rows.size(), 103u);
    EXPECT_EQ(rows[98], "<tr align=center><td>99</td><td><font color=c size=3>M98</td><td>1902"
                        "</td><td>0</td><td>0</td><td><b>1902</b></td></tr>");
    for (int i = 99; i < 103; ++i)
        EXPECT_EQ(rows[i], "<tr align=center><td>100</td><td><font color=c size=3>M" +
                               std::to_string(i) +
                               "</td><td>1000</td><td>0</td><td>0</td><td><b>1000</b></td></tr>");
}

} // namespace
