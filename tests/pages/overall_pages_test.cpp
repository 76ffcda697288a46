#include "pages/elite2_page.h"
#include "pages/points_page.h"
#include "pages/roster_page.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>

namespace {

// The totals are the elite page's: elite2 shows them without adding up again.
TEST(Elite2Page, EveryMemberFromTheEliteTotals) {
    PageFixture f;
    f.settings = pageSettings(0, 3, 2);
    f.members = {makeMember("Ann", "AN", "red"), makeMember("Bob", "BO", "blue"),
                 makeMember("Cy", "CY", "green")};
    setAllCells(f.members[0], 999, 111);
    f.members[0].DifficultyPoints = {10, 20, 30};
    f.members[0].DifficultyTotal = {3600, 3599, 60};
    f.members[1].DifficultyPoints = {60, 0, 0};
    f.members[1].DifficultyTotal = {100, 20, 5};
    f.members[2].DifficultyPoints = {0, 0, 50};
    f.members[2].DifficultyTotal = {4000, 4000, 4000};
    f.writeTemplate("elite2.html", {"<h1>Everybody</h1>", "<table>", "***", "</table>", "<table>",
                                    "***", "</table>", "<p>Updated ***</p>", "***"});
    ASSERT_TRUE(writeElite2Page(f.context()));
    EXPECT_EQ(f.page("elite2.htm"),
              crlf({"<h1>Everybody</h1>", "<table>",
                    "<tr align=right><td>1</td><td><font color=red size=5>Ann</td><td>10</td>"
                    "<td>20</td><td>30</td><td><b>60</b></td></tr>",
                    "<tr align=right><td>1</td><td><font color=blue size=5>Bob</td><td>60</td>"
                    "<td>0</td><td>0</td><td><b>60</b></td></tr>",
                    "<tr align=right><td>3</td><td><font color=green size=3>Cy</td><td>0</td>"
                    "<td>0</td><td>50</td><td><b>50</b></td></tr>",
                    "", "</table>", "<table>",
                    "<tr align=right><td>1</td><td><font color=blue size=5>Bob</td><td>1:40</td>"
                    "<td>0:20</td><td>0:05</td><td><b>0:02:05</b></td></tr>",
                    "<tr align=right><td>2</td><td><font color=red size=3>Ann</td><td>1:00:00</td>"
                    "<td>59:59</td><td>1:00</td><td><b>2:00:59</b></td></tr>",
                    "<tr align=right><td>3</td><td><font color=green size=3>Cy</td><td>1:06:40</td>"
                    "<td>1:06:40</td><td>1:06:40</td><td><b>3:20:00</b></td></tr>",
                    "", "</table>", "<p>Updated Stamp 1</p>", "***"}));
}

TEST(RosterPage, RowsInRosterOrderWithTheMailRule) {
    PageFixture f;
    f.settings = pageSettings(0, 3, 0);
    f.members = {makeMember("Zed", "", "red"), makeMember("Ann", "", "blue"),
                 makeMember("Cy", "", "green"), makeMember("Dee", "", "#00FF00")};
    f.members[0].Page = "http://example.org/zed times.html";
    f.members[0].Email = "zed@example.org";
    f.members[1].Page = "http://example.org/ann";
    f.members[1].Email = "???";
    f.members[2].Page = "http://example.org/cy";
    f.members[2].Email = "";
    f.members[3].Page = "http://example.org/dee";
    f.members[3].Email = "??? ";
    f.writeTemplate("roster.html", {"<table>", "<tr><th>Name</th></tr> ***", "</table>",
                                    "Updated *** and ***", "***"});
    ASSERT_TRUE(writeRosterPage(f.context()));
    EXPECT_EQ(f.page("roster.htm"),
              crlf({"<table>",
                    "<tr align=left><td><font color=red>Zed</td><td><a href=http://example.org/"
                    "zed times.html>(times)</a></td><td><a href=mailto:zed@example.org>"
                    "(e-mail)</a></td></tr>",
                    "<tr align=left><td><font color=blue>Ann</td><td><a href=http://example.org/"
                    "ann>(times)</a></td><td>???"
                    "</td></tr>",
                    "<tr align=left><td><font color=green>Cy</td><td><a href=http://example.org/"
                    "cy>(times)</a></td><td><a href=mailto:>(e-mail)</a></td></tr>",
                    "<tr align=left><td><font color=#00FF00>Dee</td><td><a href=http://"
                    "example.org/dee>(times)</a></td><td><a href=mailto:??? >(e-mail)</a></td>"
                    "</tr>",
                    "", "</table>", "Updated Stamp 1 and Stamp 1", "***"}));
}

TEST(PointsPage, TheScaleOfTheSettings) {
    PageFixture f;
    f.settings = pageSettings(0, 3, 1, "yellow");
    f.writeTemplate("points.html",
                    {"1st ***", "2nd ***", "3rd ***", "4th ***", "5th ***", "6th ***",
                     "from *** down", "colour ***", "most ***", "spare ***"});
    ASSERT_TRUE(writePointsPage(f.context()));
    EXPECT_EQ(f.page("points.htm"),
              crlf({"1st <font color=yellow>200</font>", "2nd <font color=yellow>197</font>",
                    "3rd <font color=yellow>195</font>", "4th <font color=yellow>194</font>",
                    "5th <font color=yellow>193</font>", "6th <font color=yellow>192</font>",
                    "from 197 down", "colour yellow", "most 8400", "spare ***"}));
    EXPECT_EQ(f.clock.calls(), 0);
}

TEST(PointsPage, SmallestScale) {
    PageFixture f;
    f.settings = pageSettings(9, 3, 1, "#FFCC00");
    f.writeTemplate("points.html", {"***", "***", "***", "***", "***", "***", "***", "***", "***"});
    ASSERT_TRUE(writePointsPage(f.context()));
    EXPECT_EQ(f.page("points.htm"),
              crlf({"<font color=#FFCC00>10</font>", "<font color=#FFCC00>7</font>",
                    "<font color=#FFCC00>5</font>", "<font color=#FFCC00>4</font>",
                    "<font color=#FFCC00>3</font>", "<font color=#FFCC00>2</font>", "7", "#FFCC00",
                    "420"}));
}

} // namespace
