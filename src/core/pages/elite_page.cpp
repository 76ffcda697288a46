#include "core/pages/elite_page.h"

#include "core/main_folder.h"
#include "core/pages/standings_rows.h"
#include "core/pages/template_filler.h"
#include "core/pages/time_text.h"
#include "core/standings/member_points.h"

#include <cstdint>

namespace quenmark {

namespace {

constexpr int kMemberCountMarker = 0;
constexpr int kLastCellMarker = 42;
constexpr int kFirstSumMarker = 43;
constexpr int kAllRecordsMarker = 46;
constexpr int kHoldersMarker = 47;
constexpr int kPointsMarker = 48;
constexpr int kTimesMarker = 49;
constexpr int kDateMarker = 50;
constexpr int kStandingsLimit = 100;
constexpr int kHoldersPerLine = 5;
constexpr int kHoldersPerRow = 4;

// Markers 1 to 42 run through the levels, Rookie, Veteran and Master of each.
int markerCell(int marker) {
    return cellIndex((marker - 1) / kDifficultyCount, (marker - 1) % kDifficultyCount);
}

std::string recordCell(const PageContext& context, int cell) {
    const std::int16_t record = context.records[cell];
    std::string text = formatMinutes(record) + "<br><font size=2>";
    int count = 0;
    for (MemberRecord& member : context.members) {
        if (member.Times[cell] != record)
            continue;
        member.HoldsRecord = true;
        text += "<font color=" + member.Color + ">" + member.Initials;
        if (++count == kHoldersPerLine) {
            text += "<br>";
            count = 0;
        }
    }
    return text;
}

std::int64_t recordSum(const PageContext& context, int firstCell, int cellCount) {
    std::int64_t sum = 0;
    for (int cell = firstCell; cell < firstCell + cellCount; ++cell)
        sum += context.records[cell];
    return sum;
}

void writeHolders(const PageContext& context, PageOutput& page) {
    std::string row;
    int cells = 0;
    for (const MemberRecord& member : context.members) {
        if (!member.HoldsRecord)
            continue;
        row += "<td><font size=2><font color=" + member.Color + ">" + member.Initials +
               "</font> - " + member.Name + "</td>";
        if (++cells == kHoldersPerRow) {
            page.line("<tr>" + row + "</tr>");
            row.clear();
            cells = 0;
        }
    }
    if (cells > 0)
        page.line("<tr>" + row + "</tr>");
}

void addDifficultyPoints(MemberTable& members) {
    for (MemberRecord& member : members)
        for (int d = 0; d < kDifficultyCount; ++d)
            member.DifficultyPoints[d] = static_cast<std::int16_t>(member.DifficultyPoints[d] +
                                                                   difficultySum(member.Points, d));
}

void setDifficultyTotals(MemberTable& members) {
    for (MemberRecord& member : members)
        for (int d = 0; d < kDifficultyCount; ++d)
            member.DifficultyTotal[d] = difficultySum(member.Times, d);
}

} // namespace

bool writeElitePage(const PageContext& context) {
    return fillTemplate(
        context.mainFolder, "elite.html", kSitePageFile, kMemberCountMarker,
        [&](int marker, std::string& line, PageOutput& page) {
            if (marker == kMemberCountMarker) {
                replaceMarkers(line, std::to_string(context.members.size()));
            } else if (marker >= 1 && marker <= kLastCellMarker) {
                replaceMarkers(line, recordCell(context, markerCell(marker)));
            } else if (marker >= kFirstSumMarker && marker < kAllRecordsMarker) {
                const int difficulty = marker - kFirstSumMarker;
                replaceMarkers(
                    line, formatMinutes(recordSum(context, cellIndex(0, difficulty), kLevelCount)));
            } else if (marker == kAllRecordsMarker) {
                replaceMarkers(line, formatClock(recordSum(context, 0, kCellCount)));
            } else if (marker == kHoldersMarker) {
                writeHolders(context, page);
                endTable(line);
            } else if (marker == kPointsMarker) {
                addDifficultyPoints(context.members);
                writePointsStandings(context, page, kStandingsLimit);
                endTable(line);
            } else if (marker == kTimesMarker) {
                setDifficultyTotals(context.members);
                writeTimeStandings(context, page, kStandingsLimit);
                endTable(line);
            } else if (marker == kDateMarker) {
                replaceMarkers(line, context.clock.dateStamp());
            }
        });
}

} // namespace quenmark
