#include "pages/levels/stage_pages.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>

namespace {

const std::initializer_list<std::string_view> kStageTemplate = {
    "<title>***</title>", "<h1>***</h1>", "***", "<table>", "***",
    "</table>",           "Updated ***",  "***"};

// 25 points, 300 s penalty, rows aligned left. Every member has 100 s and
// full points everywhere except on Lamplight:
//            Rookie        Veteran        Master
//   Ann   65 s  25 pts   3725 s 20 pts   50 s  25 pts   -> 70
//   Bob  300 s  20 pts    100 s 25 pts   60 s  22 pts   -> 67
//   Cy    65 s  25 pts    200 s 22 pts  300 s  20 pts   -> 67
struct StageFixture : PageFixture {
    StageFixture() {
        settings = pageSettings(7, 0, 0, "yellow");
        members = {makeMember("Ann", "AN", "red"), makeMember("Bob", "BO", "blue"),
                   makeMember("Cy", "CY", "green")};
        for (MemberRecord& member : members)
            setAllCells(member, 100, 25);
        set(0, {65, 3725, 50}, {25, 20, 25});
        set(1, {300, 100, 60}, {20, 25, 22});
        set(2, {65, 200, 300}, {25, 22, 20});
        writeTemplate("stage.html", kStageTemplate);
    }
    void set(int member, std::array<std::int16_t, 3> times, std::array<std::int16_t, 3> points) {
        for (int d = 0; d < kDifficultyCount; ++d) {
            members[member].Times[cellIndex(0, d)] = times[d];
            members[member].Points[cellIndex(0, d)] = points[d];
        }
    }
};

TEST(StagePages, LevelWithTiesPenaltyTimesAndHours) {
    StageFixture f;
    ASSERT_TRUE(writeStagePages(f.context()));
    const std::string annR = "<td><font size=5 color=red>Ann</td><td>1:05 / <font color=yellow>25"
                             "</td>";
    const std::string cyR = "<td><font size=5 color=green>Cy</td><td>1:05 / <font color=yellow>25"
                            "</td>";
    const std::string bobR = "<td><font size=3 color=blue>Bob</td><td>N/A / <font color=yellow>20"
                             "</td>";
    const std::string bobV = "<td><font size=5 color=blue>Bob</td><td>1:40 / <font color=yellow>25"
                             "</td>";
    const std::string cyV = "<td><font size=3 color=green>Cy</td><td>3:20 / <font color=yellow>22"
                            "</td>";
    const std::string annV = "<td><font size=3 color=red>Ann</td><td>1:02:05 / <font "
                             "color=yellow>20</td>";
    const std::string annM = "<td><font size=5 color=red>Ann</td><td>0:50 / <font color=yellow>25"
                             "</td>";
    const std::string bobM = "<td><font size=3 color=blue>Bob</td><td>1:00 / <font color=yellow>22"
                             "</td>";
    const std::string cyM = "<td><font size=3 color=green>Cy</td><td>N/A / <font color=yellow>20"
                            "</td>";
    EXPECT_EQ(f.page("stage1.htm"),
              joinCrlf({"<title>Lamplight</title>", "<h1>Lamplight</h1>",
                        "<font color=red>Ann</font> - <font color=yellow>70</font> points<br>",
                        "<font color=blue>Bob</font> - <font color=yellow>67</font> points<br>",
                        "<font color=green>Cy</font> - <font color=yellow>67</font> points<br>", "",
                        "<table>", "<tr align=left>" + annR + bobV + annM + "</tr>",
                        "<tr align=left>" + cyR + cyV + bobM + "</tr>",
                        "<tr align=left>" + bobR + annV + cyM + "</tr>", "", "</table>",
                        "Updated Stamp 1", "***"}));
}

TEST(StagePages, AllFourteenInLevelOrderEachWithItsOwnStamp) {
    StageFixture f;
    ASSERT_TRUE(writeStagePages(f.context()));
    // Reactor Core: everybody ties everywhere, so every list is in roster order.
    const auto cell = [](const char* name, const char* color) {
        return std::string("<td><font size=5 color=") + color + ">" + name +
               "</td><td>1:40 / <font color=yellow>25</td>";
    };
    const auto row = [&](const char* name, const char* color) {
        return "<tr align=left>" + cell(name, color) + cell(name, color) + cell(name, color) +
               "</tr>";
    };
    EXPECT_EQ(f.page("stage14.htm"),
              joinCrlf({"<title>Reactor Core</title>", "<h1>Reactor Core</h1>",
                        "<font color=red>Ann</font> - <font color=yellow>75</font> points<br>",
                        "<font color=blue>Bob</font> - <font color=yellow>75</font> points<br>",
                        "<font color=green>Cy</font> - <font color=yellow>75</font> points<br>", "",
                        "<table>", row("Ann", "red"), row("Bob", "blue"), row("Cy", "green"), "",
                        "</table>", "Updated Stamp 14", "***"}));
    EXPECT_NE(f.page("stage9.htm").find("<title>Sky Bridges 1</title>"), std::string::npos);
    EXPECT_NE(f.page("stage9.htm").find("Updated Stamp 9\r\n"), std::string::npos);
    EXPECT_EQ(f.clock.calls(), 14);
}

// Eight members above eleven who tie at rank 9: all nineteen are listed, the
// two below them (rank 20 and 21) are not.
TEST(StagePages, TopTenTakesEveryoneTiedAtTheLimit) {
    PageFixture f;
    f.settings = pageSettings(0, 3, 1, "white");
    for (int i = 0; i < 21; ++i) {
        f.members.push_back(makeMember("M" + std::to_string(i), "", "c"));
        const int points = i < 8 ? 600 - i : (i < 19 ? 400 : 21 - i);
        f.members.back().Points[cellIndex(0, 1)] = static_cast<std::int16_t>(points);
    }
    f.writeTemplate("stage.html", {"***", "***", "***"});
    ASSERT_TRUE(writeStagePages(f.context()));
    const std::vector<std::string> lines = pageLines(f.page("stage1.htm"));
    ASSERT_EQ(lines.size(), 2u + 19u + 1u);
    EXPECT_EQ(lines[2], "<font color=c>M0</font> - <font color=white>600</font> points<br>");
    EXPECT_EQ(lines[9], "<font color=c>M7</font> - <font color=white>593</font> points<br>");
    EXPECT_EQ(lines[10], "<font color=c>M8</font> - <font color=white>400</font> points<br>");
    EXPECT_EQ(lines[20], "<font color=c>M18</font> - <font color=white>400</font> points<br>");
    EXPECT_EQ(lines[21], "");
}

} // namespace
