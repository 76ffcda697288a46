#include "pages/site_pages.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>

namespace {

// Templates whose last marker is the page's date, so the stamps number the
// pages in the order they were written. The points page has no date.
struct SiteFixture : PageFixture {
    SiteFixture() {
        members = {makeMember("Ann", "AN", "red")};
        setAllCells(members[0], 100, 200);
        records.fill(100);
        folder.write("templates/elite.html", joinCrlf(std::vector<std::string>(51, "***")));
        writeTemplate("elite2.html", {"***", "***", "***"});
        writeTemplate("stage.html", {"***", "***", "***", "***", "***"});
        writeTemplate("diff.html", {"***", "***", "***", "***"});
        writeTemplate("leaders.html", {"***", "***", "***", "***", "***"});
        writeTemplate("roster.html", {"***", "***"});
        writeTemplate("points.html", {"***"});
    }
    std::optional<OperatorMessage> run() {
        return writeSitePages(folder.path(), members, records, settings, clock);
    }
    std::string lastLine(const std::string& page) const {
        const std::vector<std::string> lines = pageLines(this->page(page));
        return lines.empty() ? "" : lines.back();
    }
};

std::vector<std::string> datedPagesInOrder() {
    std::vector<std::string> pages = {"elite.htm", "elite2.htm"};
    for (int level = 1; level <= 14; ++level)
        pages.push_back("stage" + std::to_string(level) + ".htm");
    for (const char* kind : {"diffp-", "difft-"})
        for (int n = 1; n <= 3; ++n)
            pages.push_back(kind + std::to_string(n) + ".htm");
    pages.insert(pages.end(), {"leaders.htm", "roster.htm"});
    return pages;
}

TEST(SitePages, WritesAllTwentyFivePagesInOrder) {
    SiteFixture f;
    EXPECT_EQ(f.run(), std::nullopt);
    const std::vector<std::string> pages = datedPagesInOrder();
    ASSERT_EQ(pages.size(), 24u);
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(f.lastLine(pages[i]), "Stamp " + std::to_string(i + 1)) << pages[i];
    EXPECT_EQ(f.page("points.htm"), crlf({"<font color=yellow>200</font>"}));
    // The difficulty pages show the totals the elite page computed.
    EXPECT_EQ(pageLines(f.page("diffp-2.htm"))[2],
              "<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td><b>2800</b>"
              "</td></tr>");
    EXPECT_EQ(pageLines(f.page("difft-3.htm"))[2],
              "<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td><b>23:20</b>"
              "</td></tr>");
}

// Without the elite page's standings markers the totals stay as they were.
TEST(SitePages, EliteWithoutStandingsLeavesTheTotals) {
    SiteFixture f;
    f.members[0].DifficultyTotal = {5, 6, 7};
    f.writeTemplate("elite.html", {"***"});
    EXPECT_EQ(f.run(), std::nullopt);
    EXPECT_EQ(pageLines(f.page("diffp-1.htm"))[2],
              "<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td><b>0</b>"
              "</td></tr>");
    EXPECT_EQ(pageLines(f.page("difft-3.htm"))[2],
              "<tr align=center><td>1</td><td><font color=red size=5>Ann</td><td><b>0:07</b>"
              "</td></tr>");
}

// An empty roster: every page is written, each table marker line left empty.
TEST(SitePages, NoMembers) {
    SiteFixture f;
    f.members.clear();
    f.records.fill(kNoRecord);
    EXPECT_EQ(f.run(), std::nullopt);
    EXPECT_EQ(f.page("elite2.htm"), crlf({"", "", "Stamp 2"}));
    EXPECT_EQ(f.page("stage7.htm"), crlf({"Late Platform", "Late Platform", "", "", "Stamp 9"}));
    EXPECT_EQ(f.page("difft-1.htm"), crlf({"Rookie Time", "Rookie Time", "", "Stamp 20"}));
    EXPECT_EQ(f.page("leaders.htm"), crlf({"", "", "", "", "Stamp 23"}));
    EXPECT_EQ(f.page("roster.htm"), crlf({"", "Stamp 24"}));
}

TEST(SitePages, MissingTemplateStopsWithItsNameAndKeepsEarlierPages) {
    struct Case {
        const char* missing;
        const char* lastWritten;
        const char* firstNotWritten;
    };
    const Case cases[] = {
        {"elite.html", nullptr, "elite.htm"},        {"stage.html", "elite2.htm", "stage1.htm"},
        {"diff.html", "stage14.htm", "diffp-1.htm"}, {"leaders.html", "difft-3.htm", "leaders.htm"},
        {"points.html", "roster.htm", "points.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        SiteFixture f;
        std::filesystem::remove(f.folder / "templates" / c.missing);
        const std::optional<OperatorMessage> message = f.run();
        ASSERT_TRUE(message);
        EXPECT_EQ(message->title, "Error");
        EXPECT_EQ(message->icon, MessageIcon::Critical);
        EXPECT_EQ(message->text,
                  "\"templates/" + std::string(c.missing) + "\" could not be found.");
        if (c.lastWritten) {
            EXPECT_TRUE(f.folder.exists(std::string("upload/") + c.lastWritten));
        }
        EXPECT_FALSE(f.folder.exists(std::string("upload/") + c.firstNotWritten));
    }
}

} // namespace
