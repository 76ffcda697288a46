#include "core/pages/standings_rows.h"

#include "core/pages/text_pieces.h"
#include "core/pages/time_text.h"
#include "core/standings/member_points.h"

#include <algorithm>
#include <cstdint>

namespace quenmark {

namespace {

std::int64_t timeTotal(const MemberRecord& member) {
    return std::int64_t{member.DifficultyTotal[0]} + member.DifficultyTotal[1] +
           member.DifficultyTotal[2];
}

// The frame both tables share, up to the first figure.
void appendRowStart(std::string& row, const PageContext& context, const MemberRecord& member,
                    int rank) {
    appendPieces(row, "<tr align=", context.alignWord, "><td>", rank,
                 "</td><td><font color=", member.Color, " size=", rankFontSize(rank), ">",
                 member.Name, "</td><td>");
}

} // namespace

std::int16_t rankField(int rank) {
    return static_cast<std::int16_t>(std::min(rank, int{INT16_MAX}));
}

void writeRankedRows(MemberTable& members, const Standing& standing, int rankLimit,
                     const RowTextMaker& rowText, PageOutput& page) {
    for (std::size_t i = 0; i < members.size(); ++i) {
        members[i].Rank = rankField(standing.rank[i]);
        members[i].RowText.clear();
        rowText(members[i].RowText, members[i], standing.rank[i]);
    }
    for (std::size_t member : standing.order) {
        if (standing.rank[member] > rankLimit)
            break;
        page.line(members[member].RowText);
    }
}

void writePointsStandings(const PageContext& context, PageOutput& page, int rankLimit) {
    std::vector<std::int64_t> totals;
    totals.reserve(context.members.size());
    for (const MemberRecord& member : context.members)
        totals.push_back(overallPoints(member.DifficultyPoints));
    writeRankedRows(
        context.members, standingRanks(totals, Better::Higher), rankLimit,
        [&](std::string& row, const MemberRecord& member, int rank) {
            appendRowStart(row, context, member, rank);
            appendPieces(row, member.DifficultyPoints[0], "</td><td>", member.DifficultyPoints[1],
                         "</td><td>", member.DifficultyPoints[2], "</td><td><b>",
                         overallPoints(member.DifficultyPoints), "</b></td></tr>");
        },
        page);
}

void writeTimeStandings(const PageContext& context, PageOutput& page, int rankLimit) {
    std::vector<std::int64_t> totals;
    totals.reserve(context.members.size());
    for (const MemberRecord& member : context.members)
        totals.push_back(timeTotal(member));
    writeRankedRows(
        context.members, standingRanks(totals, Better::Lower), rankLimit,
        [&](std::string& row, const MemberRecord& member, int rank) {
            appendRowStart(row, context, member, rank);
            appendPieces(row, formatClock(member.DifficultyTotal[0]), "</td><td>",
                         formatClock(member.DifficultyTotal[1]), "</td><td>",
                         formatClock(member.DifficultyTotal[2]), "</td><td><b>",
                         formatHours(timeTotal(member)), "</b></td></tr>");
        },
        page);
}

} // namespace quenmark
