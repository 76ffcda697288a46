#include "pages/levels/difficulty_pages.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>

namespace {

struct DifficultyFixture : PageFixture {
    DifficultyFixture() {
        settings = pageSettings(0, 3, 2);
        members = {makeMember("Ann", "AN", "red"), makeMember("Bob", "BO", "blue"),
                   makeMember("Cy", "CY", "green")};
        members[0].DifficultyPoints = {100, 50, 0};
        members[0].DifficultyTotal = {3599, 3600, 60};
        members[1].DifficultyPoints = {100, 40, 0};
        members[1].DifficultyTotal = {59, 16800, 60};
        members[2].DifficultyPoints = {90, 60, 0};
        members[2].DifficultyTotal = {754, 4200, 60};
        writeTemplate("diff.html", {"<title>***</title>", "<h1>*** Standings</h1>", "<table>",
                                    "***", "</table>", "<p>***</p>", "***"});
    }
    std::string row(int rank, const char* name, const char* color, const char* figure) {
        return "<tr align=right><td>" + std::to_string(rank) + "</td><td><font color=" + color +
               " size=" + (rank == 1 ? "5" : "3") + ">" + name + "</td><td><b>" + figure +
               "</b></td></tr>";
    }
    std::string expected(const char* title, std::vector<std::string> rows, int stamp) {
        std::vector<std::string> lines = {std::string("<title>") + title + "</title>",
                                          std::string("<h1>") + title + " Standings</h1>",
                                          "<table>"};
        lines.insert(lines.end(), rows.begin(), rows.end());
        lines.insert(lines.end(),
                     {"", "</table>", "<p>Stamp " + std::to_string(stamp) + "</p>", "***"});
        return joinCrlf(lines);
    }
};

TEST(DifficultyPages, PointsThenTimePagesFromOneTemplate) {
    DifficultyFixture f;
    ASSERT_TRUE(writeDifficultyPages(f.context(), DifficultyPageKind::Points));
    ASSERT_TRUE(writeDifficultyPages(f.context(), DifficultyPageKind::Time));

    EXPECT_EQ(f.page("diffp-1.htm"),
              f.expected("Rookie Point",
                         {f.row(1, "Ann", "red", "100"), f.row(1, "Bob", "blue", "100"),
                          f.row(3, "Cy", "green", "90")},
                         1));
    EXPECT_EQ(f.page("diffp-2.htm"),
              f.expected("Veteran Point",
                         {f.row(1, "Cy", "green", "60"), f.row(2, "Ann", "red", "50"),
                          f.row(3, "Bob", "blue", "40")},
                         2));
    EXPECT_EQ(f.page("diffp-3.htm"),
              f.expected("Master Point",
                         {f.row(1, "Ann", "red", "0"), f.row(1, "Bob", "blue", "0"),
                          f.row(1, "Cy", "green", "0")},
                         3));
    EXPECT_EQ(f.page("difft-1.htm"),
              f.expected("Rookie Time",
                         {f.row(1, "Bob", "blue", "0:59"), f.row(2, "Cy", "green", "12:34"),
                          f.row(3, "Ann", "red", "59:59")},
                         4));
    EXPECT_EQ(f.page("difft-2.htm"),
              f.expected("Veteran Time",
                         {f.row(1, "Ann", "red", "1:00:00"), f.row(2, "Cy", "green", "1:10:00"),
                          f.row(3, "Bob", "blue", "4:40:00")},
                         5));
    EXPECT_EQ(f.page("difft-3.htm"),
              f.expected("Master Time",
                         {f.row(1, "Ann", "red", "1:00"), f.row(1, "Bob", "blue", "1:00"),
                          f.row(1, "Cy", "green", "1:00")},
                         6));
}

TEST(DifficultyPages, SingleMarkerGetsTheTitleOnly) {
    PageFixture f;
    f.members = {makeMember("Ann", "AN", "red")};
    f.writeTemplate("diff.html", {"<h1>***</h1>"});
    ASSERT_TRUE(writeDifficultyPages(f.context(), DifficultyPageKind::Time));
    EXPECT_EQ(f.page("difft-2.htm"), crlf({"<h1>Veteran Time</h1>"}));
    EXPECT_EQ(f.clock.calls(), 0);
}

} // namespace
