#include "pages/levels/leaders_page.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>

namespace {

// Points of 100 mark a record:
//   Ann  Rookie levels 1-3 alone, Veteran level 1 with Bob   -> 4 records, 3 untied
//   Bob  Veteran level 1 with Ann, Master level 1 alone      -> 2 records, 1 untied
//   Cy   Master levels 2 and 3 alone                          -> 2 records, 2 untied
//   Dee  none
//   Eve  Rookie level 4 alone                                 -> 1 record, 1 untied
struct LeadersFixture : PageFixture {
    LeadersFixture() {
        settings = pageSettings(4, 3, 1);
        members = {makeMember("Ann", "AN", "red"), makeMember("Bob", "BO", "blue"),
                   makeMember("Cy", "CY", "green"), makeMember("Dee", "DE", "purple"),
                   makeMember("Eve", "EV", "orange")};
        for (MemberRecord& member : members)
            setAllCells(member, 100, 97);
        record(0, {{0, 0}, {1, 0}, {2, 0}, {0, 1}});
        record(1, {{0, 1}, {0, 2}});
        record(2, {{1, 2}, {2, 2}});
        record(4, {{3, 0}});
    }
    void record(int member, std::initializer_list<std::pair<int, int>> cells) {
        for (auto [level, difficulty] : cells)
            members[member].Points[cellIndex(level, difficulty)] = 100;
    }
};

std::string overallRow(int rank, const char* name, const char* color, const char* cells) {
    return "<tr align=center><td>" + std::to_string(rank) +
           "</td><td><font size=" + (rank == 1 ? "5" : "3") + " color=" + color + ">" + name +
           "</td><td>" + cells + "</b></td></tr>";
}

std::string difficultyRow(int rank, const char* name, const char* color, const char* count) {
    return "<tr align=center><td>" + std::to_string(rank) +
           "</td><td><font size=" + (rank == 1 ? "5" : "3") + " color=" + color + ">" + name +
           "</td><td>" + count + " untied)</td></tr>";
}

TEST(LeadersPage, OverallAndDifficultyTables) {
    LeadersFixture f;
    f.writeTemplate("leaders.html", {"<h1>Record holders</h1>", "<table>", "***", "</table>",
                                     "<table>", "***", "</table>", "<table>", "***", "</table>",
                                     "<table>", "***", "</table>", "<p>***</p>", "***"});
    ASSERT_TRUE(writeLeadersPage(f.context()));
    EXPECT_EQ(
        f.page("leaders.htm"),
        joinCrlf({"<h1>Record holders</h1>",
                  "<table>",
                  overallRow(1, "Ann", "red",
                             "3 (3)</td><td>1 (0)</td><td>0 (0)</td><td><b>4 records (3 untied)"),
                  overallRow(2, "Cy", "green",
                             "0 (0)</td><td>0 (0)</td><td>2 (2)</td><td><b>2 records (2 untied)"),
                  overallRow(3, "Bob", "blue",
                             "0 (0)</td><td>1 (0)</td><td>1 (1)</td><td><b>2 records (1 untied)"),
                  overallRow(4, "Eve", "orange",
                             "1 (1)</td><td>0 (0)</td><td>0 (0)</td><td><b>1 record (1 untied)"),
                  overallRow(5, "Dee", "purple",
                             "0 (0)</td><td>0 (0)</td><td>0 (0)</td><td><b>0 records (0 untied)"),
                  "",
                  "</table>",
                  "<table>",
                  difficultyRow(1, "Ann", "red", "3 records (3"),
                  difficultyRow(2, "Eve", "orange", "1 record (1"),
                  difficultyRow(3, "Bob", "blue", "0 records (0"),
                  difficultyRow(3, "Cy", "green", "0 records (0"),
                  difficultyRow(3, "Dee", "purple", "0 records (0"),
                  "",
                  "</table>",
                  "<table>",
                  difficultyRow(1, "Ann", "red", "1 record (0"),
                  difficultyRow(1, "Bob", "blue", "1 record (0"),
                  difficultyRow(3, "Cy", "green", "0 records (0"),
                  difficultyRow(3, "Dee", "purple", "0 records (0"),
                  difficultyRow(3, "Eve", "orange", "0 records (0"),
                  "",
                  "</table>",
                  "<table>",
                  difficultyRow(1, "Cy", "green", "2 records (2"),
                  difficultyRow(2, "Bob", "blue", "1 record (1"),
                  difficultyRow(3, "Ann", "red", "0 records (0"),
                  difficultyRow(3, "Dee", "purple", "0 records (0"),
                  difficultyRow(3, "Eve", "orange", "0 records (0"),
                  "",
                  "</table>",
                  "<p>Stamp 1</p>",
                  "***"}));
    EXPECT_EQ(f.members[0].Records, 4);
    EXPECT_EQ(f.members[0].Untied, 3);
    EXPECT_EQ(f.members[1].DifficultyRecords, (std::array<std::int16_t, 3>{0, 1, 1}));
    EXPECT_EQ(f.members[1].DifficultyUntied, (std::array<std::int16_t, 3>{0, 0, 1}));
}

// Six share the Master record of one level: all six have rank 1 and the next
// rank is 7, so nobody else is listed.
TEST(LeadersPage, SixTiedAtTheTopFillTheDifficultyTable) {
    PageFixture f;
    f.settings = pageSettings(9, 3, 0);
    for (int i = 0; i < 8; ++i) {
        f.members.push_back(makeMember("M" + std::to_string(i), "", "c"));
        if (i >= 2)
            f.members.back().Points[cellIndex(5, 2)] = 10;
    }
    f.writeTemplate("leaders.html", {"***", "***", "***", "***"});
    ASSERT_TRUE(writeLeadersPage(f.context()));
    const std::vector<std::string> lines = pageLines(f.page("leaders.htm"));
    // Overall 8 rows + 1, Rookie and Veteran 8 rows + 1 each (all tied at 0), Master 6 + 1.
    ASSERT_EQ(lines.size(), 9u + 9u + 9u + 7u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(lines[27 + i], "<tr align=left><td>1</td><td><font size=5 color=c>M" +
                                     std::to_string(i + 2) +
                                     "</td><td>1 record (0 untied)</td></tr>");
    EXPECT_EQ(lines[33], "");
}

TEST(CountRecords, CountsAgainOnEveryCall) {
    MemberTable members = {makeMember("A", "", ""), makeMember("B", "", "")};
    members[0].Points.fill(200);
    members[1].Points[41] = 200;
    countRecords(members, 200);
    countRecords(members, 200);
    EXPECT_EQ(members[0].Records, 42);
    EXPECT_EQ(members[0].Untied, 41);
    EXPECT_EQ(members[0].DifficultyUntied, (std::array<std::int16_t, 3>{14, 14, 13}));
    EXPECT_EQ(members[1].Records, 1);
    EXPECT_EQ(members[1].Untied, 0);
}

} // namespace
