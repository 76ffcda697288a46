#include "core/pages/levels/stage_pages.h"

#include "core/pages/standings_rows.h"
#include "core/pages/template_filler.h"
#include "core/pages/text_pieces.h"
#include "core/pages/time_text.h"

namespace quenmark {

namespace {

constexpr int kFirstNameMarker = 1;
constexpr int kSecondNameMarker = 2;
constexpr int kTopTenMarker = 3;
constexpr int kTimeTableMarker = 4;
constexpr int kDateMarker = 5;
constexpr int kTopTenLimit = 10;

void writeTopTen(const PageContext& context, int level, PageOutput& page) {
    std::vector<std::int64_t> levelPoints;
    levelPoints.reserve(context.members.size());
    for (const MemberRecord& member : context.members) {
        std::int64_t sum = 0;
        for (int d = 0; d < kDifficultyCount; ++d)
            sum += member.Points[cellIndex(level, d)];
        levelPoints.push_back(sum);
    }
    const Standing standing = standingRanks(levelPoints, Better::Higher);
    writeRankedRows(
        context.members, standing, kTopTenLimit,
        [&](std::string& row, const MemberRecord& member, int) {
            std::int64_t sum = 0;
            for (int d = 0; d < kDifficultyCount; ++d)
                sum += member.Points[cellIndex(level, d)];
            appendPieces(row, "<font color=", member.Color, ">", member.Name,
                         "</font> - <font color=", context.pointColor, ">", sum,
                         "</font> points<br>");
        },
        page);
}

void setTimeCell(std::string& text, const PageContext& context, const MemberRecord& member,
                 int cell) {
    const int points = member.Points[cell];
    const int time = member.Times[cell];
    text.clear();
    appendPieces(text, "<td><font size=", points == context.pointMax ? 5 : 3,
                 " color=", member.Color, ">", member.Name, "</td><td>");
    if (time == context.penaltySeconds)
        appendPiece(text, "N/A");
    else
        appendPiece(text, formatClock(time));
    appendPieces(text, " / <font color=", context.pointColor, ">", points, "</td>");
}

// Row k holds the k-th fastest member of each difficulty, so the three cells of
// a row generally belong to three different members.
void writeTimeTable(const PageContext& context, int level, PageOutput& page) {
    MemberTable& members = context.members;
    std::array<std::vector<std::size_t>, kDifficultyCount> columns;
    for (int d = 0; d < kDifficultyCount; ++d) {
        const int cell = cellIndex(level, d);
        std::vector<std::int64_t> times;
        times.reserve(members.size());
        for (const MemberRecord& member : members)
            times.push_back(member.Times[cell]);
        Standing standing = standingRanks(times, Better::Lower);
        for (std::size_t i = 0; i < members.size(); ++i) {
            members[i].StageRank[d] = rankField(standing.rank[i]);
            setTimeCell(members[i].StageCell[d], context, members[i], cell);
        }
        columns[d] = std::move(standing.order);
    }
    for (std::size_t k = 0; k < members.size(); ++k)
        page.linePieces("<tr align=", context.alignWord, ">", members[columns[0][k]].StageCell[0],
                        members[columns[1][k]].StageCell[1], members[columns[2][k]].StageCell[2],
                        "</tr>");
}

bool writeStagePage(const PageContext& context, int level) {
    const std::string name(kLevelNames[level]);
    return fillTemplate(context.mainFolder, "stage.html",
                        "stage" + std::to_string(level + 1) + ".htm", 1,
                        [&](int marker, std::string& line, PageOutput& page) {
                            switch (marker) {
                            case kFirstNameMarker:
                            case kSecondNameMarker:
                                replaceMarkers(line, name);
                                break;
                            case kTopTenMarker:
                                writeTopTen(context, level, page);
                                endTable(line);
                                break;
                            case kTimeTableMarker:
                                writeTimeTable(context, level, page);
                                endTable(line);
                                break;
                            case kDateMarker:
                                replaceMarkers(line, context.clock.dateStamp());
                                break;
                            default:
                                break;
                            }
                        });
}

} // namespace

bool writeStagePages(const PageContext& context) {
    for (int level = 0; level < kLevelCount; ++level)
        if (!writeStagePage(context, level))
            return false;
    return true;
}

} // namespace quenmark
