#pragma once

#include "app/model/member_record.h"
#include "dialogs/settings_file.h"
#include "pages/clock.h"
#include "pages/page_context.h"
#include "tests/support/temp_folder.h"

#include <string>
#include <vector>

// Stamps every page with the number of the call, so a test sees which page
// asked when.
class CountingClock : public Clock {
public:
    std::string dateStamp() override { return "Stamp " + std::to_string(++m_calls); }
    int calls() const { return m_calls; }

private:
    int m_calls = 0;
};

inline MemberRecord makeMember(std::string name, std::string initials, std::string color) {
    MemberRecord member;
    member.Name = std::move(name);
    member.Initials = std::move(initials);
    member.Color = std::move(color);
    return member;
}

inline void setAllCells(MemberRecord& member, std::int16_t time, std::int16_t points) {
    member.Times.fill(time);
    member.Points.fill(points);
}

// The settings' list positions: 0 gives 200 points, 300 s, "left".
inline SiteSettings pageSettings(int pointMaxIndex, int penaltyIndex, int alignIndex,
                                 std::string pointColor = "yellow") {
    SiteSettings settings = defaultSettings();
    settings.pointMaxIndex = static_cast<std::int16_t>(pointMaxIndex);
    settings.penaltyIndex = static_cast<std::int16_t>(penaltyIndex);
    settings.alignIndex = static_cast<std::int16_t>(alignIndex);
    settings.pointColor = std::move(pointColor);
    return settings;
}

// A main folder with templates/ and upload/, and what a page writer needs.
struct PageFixture {
    TempFolder folder;
    MemberTable members;
    RecordTable records{};
    SiteSettings settings = pageSettings(0, 3, 1);
    CountingClock clock;

    PageFixture() { folder.makeFolders({"templates", "upload"}); }
    PageContext context() { return PageContext(folder.path(), members, records, settings, clock); }
    void writeTemplate(const std::string& name, std::initializer_list<std::string_view> lines) {
        folder.write("templates/" + name, crlf(lines));
    }
    std::string page(const std::string& name) const { return folder.read("upload/" + name); }
};

// The lines of a page without their CR LF; the page must end every line with CR LF.
inline std::vector<std::string> pageLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back("<unterminated>" + text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::string joinCrlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}
