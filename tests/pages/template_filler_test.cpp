#include "app/model/text_file.h"
#include "pages/template_filler.h"
#include "tests/pages/page_test_support.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// The handler of these cases: some numbers are inline markers, some tables, the
// rest have no meaning.
struct Meanings {
    std::map<int, std::string> inlineText;
    std::map<int, std::vector<std::string>> tableRows;
};

struct FillCase {
    const char* name;
    std::string templateBytes;
    int firstMarker;
    Meanings meanings;
    std::string expectedPage;
    std::vector<int> expectedCalls;
};

std::string rawLines(std::initializer_list<std::string_view> lines) {
    return crlf(lines);
}

std::vector<FillCase> fillCases() {
    return {
        {"no markers copied with CR LF",
         "<html>\r\nplain\r\n\r\nlast",
         1,
         {},
         rawLines({"<html>", "plain", "", "last"}),
         {}},
        {"LF line ends become CR LF", "a\nb\n", 1, {}, rawLines({"a", "b"}), {}},
        {"empty template gives empty page", "", 1, {}, "", {}},
        {"inline replacement keeps the rest of the line",
         "<p>Members: ***!</p>\r\n",
         0,
         {{{0, "12"}}, {}},
         rawLines({"<p>Members: 12!</p>"}),
         {0}},
        {"two inline markers on one line share the first number",
         "a *** b *** c\r\n***\r\n",
         1,
         {{{1, "X"}, {2, "Y"}}, {}},
         rawLines({"a X b X c", "Y"}),
         {1, 2}},
        {"table marker: rows, then an empty line; the text around is lost",
         "<table>\r\nbefore *** after\r\n</table>\r\n",
         1,
         {{}, {{1, {"<tr>1</tr>", "<tr>2</tr>"}}}},
         rawLines({"<table>", "<tr>1</tr>", "<tr>2</tr>", "", "</table>"}),
         {1}},
        {"table marker without rows leaves an empty line",
         "x\r\n***\r\ny\r\n",
         1,
         {{}, {{1, {}}}},
         rawLines({"x", "", "y"}),
         {1}},
        {"surplus markers stay and still count",
         "***\r\n***\r\n***\r\n",
         1,
         {{{1, "one"}, {3, "three"}}, {}},
         rawLines({"one", "***", "three"}),
         {1, 2, 3}},
        {"four asterisks without meaning count as two markers",
         "****\r\n***\r\n",
         1,
         {{{3, "third"}}, {}},
         rawLines({"****", "third"}),
         {1, 2, 3}},
        {"four asterisks with a meaning: one replacement, one count",
         "****\r\n***\r\n",
         1,
         {{{1, "X"}, {2, "Y"}}, {}},
         rawLines({"X*", "Y"}),
         {1, 2}},
        {"a marker split across lines is none",
         "a**\r\n*b\r\n",
         1,
         {{{1, "X"}}, {}},
         rawLines({"a**", "*b"}),
         {}},
        {"lines of one or two asterisks are copied",
         "*\r\n**\r\n***\r\n",
         1,
         {{{1, "X"}}, {}},
         rawLines({"*", "**", "X"}),
         {1}},
        {"the scan stops at the length of the line as read",
         "***\r\n",
         1,
         {{{1, "ab***"}}, {}},
         rawLines({"ab***"}),
         {1}},
        {"within that length the changed line is scanned",
         "***xyz\r\n",
         1,
         {{{1, "Z***"}}, {}},
         rawLines({"Z***xyz"}),
         {1, 2}},
        {"a shortened line ends the scan early",
         "***  ***  ***\r\n",
         1,
         {{}, {{1, {"row"}}}},
         rawLines({"row", ""}),
         {1}},
        {"markers are numbered over the whole template",
         "x ***\r\nno\r\n*** ***\r\n",
         0,
         {{{0, "A"}, {1, "B"}}, {}},
         rawLines({"x A", "no", "B B"}),
         {0, 1}},
    };
}

TEST(FillTemplate, FollowsTheMarkerRules) {
    for (const FillCase& c : fillCases()) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.makeFolders({"upload"});
        folder.write("templates/t.html", c.templateBytes);
        std::vector<int> calls;
        const bool found = fillTemplate(folder.path(), "t.html", "t.htm", c.firstMarker,
                                        [&](int marker, std::string& line, PageOutput& page) {
                                            calls.push_back(marker);
                                            if (auto text = c.meanings.inlineText.find(marker);
                                                text != c.meanings.inlineText.end())
                                                replaceMarkers(line, text->second);
                                            if (auto rows = c.meanings.tableRows.find(marker);
                                                rows != c.meanings.tableRows.end()) {
                                                for (const std::string& row : rows->second)
                                                    page.line(row);
                                                endTable(line);
                                            }
                                        });
        EXPECT_TRUE(found);
        EXPECT_EQ(folder.read("upload/t.htm"), c.expectedPage);
        EXPECT_EQ(calls, c.expectedCalls);
    }
}

TEST(FillTemplate, MissingTemplateTouchesNoPage) {
    TempFolder folder;
    folder.makeFolders({"templates", "upload"});
    folder.write("upload/t.htm", "old page");
    const bool found = fillTemplate(folder.path(), "t.html", "t.htm", 1,
                                    [](int, std::string&, PageOutput&) { FAIL(); });
    EXPECT_FALSE(found);
    EXPECT_EQ(folder.read("upload/t.htm"), "old page");
}

TEST(FillTemplate, UnwritablePageIsAFileErrorNamingThePage) {
    TempFolder folder;
    folder.write("templates/t.html", "x\r\n");
    try {
        (void)fillTemplate(folder.path(), "t.html", "t.htm", 1,
                           [](int, std::string&, PageOutput&) {});
        FAIL() << "no error without an upload folder";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "\"upload/t.htm\" could not be written.");
    }
}

TEST(FillTemplate, LargePagesKeepEveryRowInOrder) {
    TempFolder folder;
    folder.write("templates/t.html", "<table>\r\n***\r\n</table>\r\n");
    folder.makeFolders({"upload"});
    std::string expected = "<table>\r\n";
    for (int i = 0; i < 100000; ++i)
        expected += "<tr><td>" + std::to_string(i) + "</td></tr>\r\n";
    expected += "\r\n</table>\r\n";
    EXPECT_TRUE(fillTemplate(folder.path(), "t.html", "t.htm", 1,
                             [](int, std::string& line, PageOutput& page) {
                                 for (int i = 0; i < 100000; ++i)
                                     page.line("<tr><td>" + std::to_string(i) + "</td></tr>");
                                 endTable(line);
                             }));
    EXPECT_EQ(folder.read("upload/t.htm"), expected);
}

TEST(ReplaceMarkers, ReplacesEveryOccurrenceLeftToRight) {
    std::string line = "*** and ***** and **";
    replaceMarkers(line, "<b>");
    EXPECT_EQ(line, "<b> and <b>** and **");
}

} // namespace
