#include "core/pages/site_pages.h"
#include "tests/core/pages/page_test_support.h"

namespace quenmark {

namespace {

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

// No members: every page is written, in order, each table marker line left empty.
TEST(SitePages, AllPagesInOrderWithoutMembers) {
    SiteFixture f;
    f.records.fill(kNoRecord);
    ASSERT_EQ(f.run(), std::nullopt);
    std::vector<std::pair<std::string, std::vector<std::string>>> expected;
    std::vector<std::string> elite = {"0"};
    elite.insert(elite.end(), 42, "166:40<br><font size=2>");
    elite.insert(elite.end(), {"2333:20", "2333:20", "2333:20", "116:40:00", "", "", ""});
    expected.push_back({"elite.htm", elite});
    expected.push_back({"elite2.htm", {"", ""}});
    const char* levels[] = {"Lamplight",     "Copper Crown",  "Harbour Sprint", "Tunnel Revolt",
                            "Frost Welcome", "Dusk Patrol",   "Late Platform",  "Velvet Gala",
                            "Sky Bridges 1", "Sky Bridges 2", "Broken Oath",    "Stone Spire",
                            "Flooded Hull",  "Reactor Core"};
    for (int n = 1; n <= 14; ++n)
        expected.push_back(
            {"stage" + std::to_string(n) + ".htm", {levels[n - 1], levels[n - 1], "", ""}});
    const char* titles[] = {"Rookie Point", "Veteran Point", "Master Point",
                            "Rookie Time",  "Veteran Time",  "Master Time"};
    for (int i = 0; i < 6; ++i) {
        const std::string page = (i < 3 ? "diffp-" : "difft-") + std::to_string(i % 3 + 1);
        expected.push_back({page + ".htm", {titles[i], titles[i], ""}});
    }
    expected.push_back({"leaders.htm", {"", "", "", ""}});
    expected.push_back({"roster.htm", {""}});
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i].second.push_back("Stamp " + std::to_string(i + 1));
        EXPECT_EQ(f.page(expected[i].first), crlf(expected[i].second)) << expected[i].first;
    }
    EXPECT_EQ(f.page("points.htm"),
              crlf({"<font color=yellow>200</font>", "<font color=yellow>197</font>",
                    "<font color=yellow>195</font>", "<font color=yellow>194</font>",
                    "<font color=yellow>193</font>", "<font color=yellow>192</font>", "197",
                    "yellow", "8400"}));
    EXPECT_EQ(f.folder.count("upload"), 25);
}

// The elite page computes the difficulty totals that later pages show; a
// template without its standings markers leaves them as they were.
TEST(SitePages, LaterPagesShowTheEliteTotals) {
    struct Case {
        std::size_t eliteMarkers;
        const char* points;
        const char* time;
        const char* elite2;
    };
    const Case cases[] = {
        {51, "2800", "23:20", R"(
<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td>2800</td><td>2800</td><td>2800</td><td><b>8400</b></td></tr>

<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td>23:20</td><td>23:20</td><td>23:20</td><td><b>1:10:00</b></td></tr>

Stamp 2
)"},
        {1, "0", "0:07", R"(
<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td>0</td><td>0</td><td>0</td><td><b>0</b></td></tr>

<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td>0:05</td><td>0:06</td><td>0:07</td><td><b>0:00:18</b></td></tr>

Stamp 1
)"},
    };
    for (const Case& c : cases) {
        SiteFixture f;
        f.members = {makeMember("Ann", "AN", "red", 100, 200)};
        f.members[0].DifficultyTotal = {5, 6, 7};
        f.records.fill(100);
        f.writeTemplate("elite.html", markerLines(c.eliteMarkers));
        ASSERT_EQ(f.run(), std::nullopt);
        EXPECT_EQ(f.page("elite2.htm"), pageText(c.elite2));
        const std::string row =
            "<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td><b>";
        EXPECT_EQ(pageLines(f.page("diffp-2.htm"))[2], row + c.points + "</b></td></tr>");
        EXPECT_EQ(pageLines(f.page("difft-3.htm"))[2], row + c.time + "</b></td></tr>");
    }
}

} // namespace

} // namespace quenmark
