#pragma once

#include "core/files/settings_file.h"
#include "core/model/member_record.h"
#include "core/pages/page_context.h"
#include "core/ports/clock.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quenmark {

// Stamps every page with the number of the call, so a test sees which page
// asked when.
class CountingClock : public Clock {
public:
    std::string dateStamp() override { return "Stamp " + std::to_string(++m_calls); }
    std::string timeOfDay() override { return "08:05"; }

private:
    int m_calls = 0;
};

// A member with the same time and points in all 42 cells.
inline MemberRecord makeMember(std::string name, std::string initials, std::string color,
                               int time = 0, int points = 0) {
    MemberRecord member;
    member.Name = std::move(name);
    member.Initials = std::move(initials);
    member.Color = std::move(color);
    member.Times.fill(static_cast<std::int16_t>(time));
    member.Points.fill(static_cast<std::int16_t>(points));
    return member;
}

// A page written out in a raw string, one line per source line after the
// opening line break; each line ends CR LF.
inline std::string pageText(std::string_view text) {
    std::string page;
    for (char ch : text.substr(1))
        page += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return page;
}

// The lines of a page, each ended by CR LF.
inline std::vector<std::string> pageLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// A main folder with templates/ and upload/, and what a page writer needs.
// The settings start as the defaults: 200 points, 1200 s penalty, "center".
struct PageFixture {
    TempFolder folder;
    MemberTable members;
    RecordTable records{};
    SiteSettings settings = defaultSettings();
    CountingClock clock;

    PageFixture() { folder.makeFolders({"templates", "upload"}); }
    // The settings' list positions: points 0 = 200 ... 9 = 10; penalty 0 = 300 s,
    // 3 = 1200 s; align 0 = left, 1 = center, 2 = right.
    void use(int pointMaxIndex, int penaltyIndex, int alignIndex) {
        settings.pointMaxIndex = static_cast<std::int16_t>(pointMaxIndex);
        settings.penaltyIndex = static_cast<std::int16_t>(penaltyIndex);
        settings.alignIndex = static_cast<std::int16_t>(alignIndex);
    }
    PageContext context() { return PageContext(folder.path(), members, records, settings, clock); }
    void writeTemplate(const std::string& name, const std::vector<std::string>& lines) {
        folder.write("templates/" + name, crlf(lines));
    }
    std::string page(const std::string& name) const { return folder.read("upload/" + name); }
    // Writes the template, runs the page writer, returns the page `pageName`.
    template <typename Writer>
    std::string render(Writer writer, const std::string& templateName,
                       const std::vector<std::string>& lines, const std::string& pageName) {
        writeTemplate(templateName, lines);
        EXPECT_TRUE(writer(context()));
        return page(pageName);
    }
};

// A template of `count` lines that are each one marker.
inline std::vector<std::string> markerLines(std::size_t count) {
    return std::vector<std::string>(count, "***");
}

} // namespace quenmark
