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

// The pages in the order a run writes them, each with its template.
std::vector<std::pair<std::string, std::string>> sitePages() {
    std::vector<std::pair<std::string, std::string>> pages = {{"elite.htm", "elite.html"},
                                                              {"elite2.htm", "elite2.html"}};
    for (int n = 1; n <= 14; ++n)
        pages.push_back({"stage" + std::to_string(n) + ".htm", "stage.html"});
    for (const char* kind : {"diffp-", "difft-"})
        for (int n = 1; n <= 3; ++n)
            pages.push_back({kind + std::to_string(n) + ".htm", "diff.html"});
    for (std::string name : {"leaders", "roster", "points"})
        pages.push_back({name + ".htm", name + ".html"});
    return pages;
}

// No members: every page is written, in order, each table marker line left empty.
TEST(SitePages, AllPagesInOrderWithoutMembers) {
    SiteFixture f;
    f.records.fill(kNoRecord);
    ASSERT_EQ(f.run(), std::nullopt);
    std::vector<std::vector<std::string>> expected;
    std::vector<std::string> elite = {"0"};
    elite.insert(elite.end(), 42, "166:40<br><font size=2>");
    elite.insert(elite.end(), {"2333:20", "2333:20", "2333:20", "116:40:00", "", "", ""});
    expected.push_back(elite);
    expected.push_back({"", ""});
    const char* levels[] = {"Lamplight",     "Copper Crown",  "Harbour Sprint", "Tunnel Revolt",
                            "Frost Welcome", "Dusk Patrol",   "Late Platform",  "Velvet Gala",
                            "Sky Bridges 1", "Sky Bridges 2", "Broken Oath",    "Stone Spire",
                            "Flooded Hull",  "Reactor Core"};
    for (const char* level : levels)
        expected.push_back({level, level, "", ""});
    for (const char* title : {"Rookie Point", "Veteran Point", "Master Point", "Rookie Time",
                              "Veteran Time", "Master Time"})
        expected.push_back({title, title, ""});
    expected.push_back({"", "", "", ""});
    expected.push_back({""});
    const auto pages = sitePages();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i].push_back("Stamp " + std::to_string(i + 1));
        EXPECT_EQ(f.page(pages[i].first), crlf(expected[i])) << pages[i].first;
    }
    EXPECT_EQ(f.page("points.htm"),
              crlf({"<font color=yellow>200</font>", "<font color=yellow>197</font>",
                    "<font color=yellow>195</font>", "<font color=yellow>194</font>",
                    "<font color=yellow>193</font>", "<font color=yellow>192</font>", "197",
                    "yellow", "8400"}));
    EXPECT_EQ(f.folder.count("upload"), 25);
}

// A template gone after the run's checks: the pages before it are written, the
// run stops at its first page with its name.
TEST(SitePages, AMissingTemplateStopsTheRunAtItsFirstPage) {
    for (const std::string missing : {"elite.html", "elite2.html", "stage.html", "diff.html",
                                      "leaders.html", "roster.html", "points.html"}) {
        SCOPED_TRACE(missing);
        SiteFixture f;
        std::filesystem::remove(f.folder / ("templates/" + missing));
        EXPECT_EQ(f.run(), errorMessage("\"templates/" + missing + "\" could not be found."));
        bool reached = false;
        for (const auto& [page, templateFile] : sitePages()) {
            reached = reached || templateFile == missing;
            EXPECT_EQ(f.folder.exists("upload/" + page), !reached) << page;
        }
    }
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
