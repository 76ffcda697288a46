#include "core/model/text_file.h"
#include "core/pages/template_filler.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace quenmark {

namespace {

// '|' stands for CR LF in templates and pages. A meaning in brackets is a
// table of rows, one per '|'-separated text; any other is an inline text.
std::string bytes(std::string_view text) {
    std::string out;
    for (char ch : text)
        out += ch == '|' ? std::string("\r\n") : std::string(1, ch);
    return out;
}

// The message of the file error t.html's filling ends with; "" when none.
std::string fillError(const TempFolder& folder, const MarkerHandler& handler) {
    try {
        (void)fillTemplate(folder.path(), "t.html", "t.htm", 1, handler);
    } catch (const FileError& error) {
        return error.what();
    }
    return "";
}

struct FillCase {
    const char* templateText;
    int firstMarker;
    std::map<int, std::string> meanings;
    const char* expectedPage;
    std::vector<int> expectedCalls;
};

TEST(FillTemplate, FollowsTheMarkerRules) {
    const FillCase cases[] = {
        // Copied line for line with CR LF, the last line and LF-only lines too.
        {"<html>|plain||last", 1, {}, "<html>|plain||last|", {}},
        {"a\nb\n", 1, {}, "a|b|", {}},
        {"", 1, {}, "", {}},
        // Inline: the rest of the line stays; a second marker on it gets the same text.
        {"a *** b *** c|***|", 1, {{1, "X"}, {2, "Y"}}, "a X b X c|Y|", {1, 2}},
        // Table: the rows, then an empty line; the text around the marker is lost.
        {"<t>|b *** a|</t>|", 1, {{1, "[r1|r2]"}}, "<t>|r1|r2||</t>|", {1}},
        {"x|***|y|", 1, {{1, "[]"}}, "x||y|", {1}},
        // Markers without meaning stay and count; four asterisks count twice unless handled.
        {"***|***|***|", 1, {{1, "one"}, {3, "three"}}, "one|***|three|", {1, 2, 3}},
        {"****|***|", 1, {{3, "3rd"}}, "****|3rd|", {1, 2, 3}},
        {"****|***|", 1, {{1, "X"}, {2, "Y"}}, "X*|Y|", {1, 2}},
        // Split across lines, or in a line shorter than three: no marker.
        {"a**|*b|", 1, {{1, "X"}}, "a**|*b|", {}},
        {"*|**|***|", 1, {{1, "X"}}, "*|**|X|", {1}},
        // The scan bound is the length as read; marker text from the handler is
        // never taken for a marker, so it is neither counted nor replaced again.
        {"***|", 1, {{1, "ab***"}}, "ab***|", {1}},
        {"***xyz|***|", 1, {{1, "Z***"}, {2, "Y"}}, "Z***xyz|Y|", {1, 2}},
        {"*** *** ***|", 1, {{1, "******"}, {2, "no"}}, "****** ****** ******|", {1}},
        {"***  ***  ***|", 1, {{1, "[row]"}}, "row||", {1}},
        // Numbered over the whole template from the first number.
        {"x ***|no|*** ***|", 0, {{0, "A"}, {1, "B"}}, "x A|no|B B|", {0, 1}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.templateText);
        TempFolder folder;
        folder.makeFolders({"upload"});
        folder.write("templates/t.html", bytes(c.templateText));
        std::vector<int> calls;
        const auto handler = [&](int marker, std::string& line, PageOutput& page) {
            calls.push_back(marker);
            if (!c.meanings.contains(marker))
                return;
            const std::string& meaning = c.meanings.at(marker);
            if (!meaning.starts_with('[')) {
                replaceMarkers(line, meaning);
                return;
            }
            std::istringstream rows(meaning.substr(1, meaning.size() - 2));
            for (std::string row; std::getline(rows, row, '|');)
                page.line(row);
            endTable(line);
        };
        EXPECT_TRUE(fillTemplate(folder.path(), "t.html", "t.htm", c.firstMarker, handler));
        EXPECT_EQ(folder.read("upload/t.htm"), bytes(c.expectedPage));
        EXPECT_EQ(calls, c.expectedCalls);
    }
}

// A missing template touches no page; a missing upload folder is a file error.
TEST(FillTemplate, WhatStopsTheFillingKeepsTheOldPage) {
    TempFolder folder;
    folder.write("upload/t.htm", "old page");
    EXPECT_FALSE(fillTemplate(folder.path(), "t.html", "t.htm", 1,
                              [](int, std::string&, PageOutput&) { FAIL(); }));
    EXPECT_EQ(folder.read("upload/t.htm"), "old page");

    // A page stopped half-way (2 MB of rows already out) leaves the old one whole.
    folder.write("templates/t.html", "***\r\n***\r\n");
    EXPECT_EQ(fillError(folder,
                        [](int marker, std::string&, PageOutput& page) {
                            if (marker == 2)
                                throw FileError("stopped");
                            for (int i = 0; i < 200000; ++i)
                                page.line("row of a long table");
                        }),
              "stopped");
    EXPECT_EQ(folder.read("upload/t.htm"), "old page");
    EXPECT_EQ(folder.count("upload"), 1);

    // A line that would grow past the bound: the message names the template.
    std::string markers;
    for (int i = 0; i < 100000; ++i)
        markers += "***";
    folder.write("templates/t.html", "a\r\n" + markers + "\r\n");
    const std::string text(1000, 'x');
    EXPECT_EQ(
        fillError(folder, [&](int, std::string& line, PageOutput&) { replaceMarkers(line, text); }),
        "\"templates/t.html\" could not be filled: a line of its page would grow past 64 MB.");
    EXPECT_EQ(folder.read("upload/t.htm"), "old page");

    std::filesystem::remove_all(folder / "upload");
    folder.write("templates/t.html", "x\r\n");
    EXPECT_EQ(fillError(folder, [](int, std::string&, PageOutput&) {}),
              "\"upload/t.htm\" could not be written.");
}

} // namespace

} // namespace quenmark
