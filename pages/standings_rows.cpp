#include "pages/standings_rows.h"

#include "pages/time_text.h"

#include <algorithm>
#include <cstdint>

namespace {

std::int64_t pointsTotal(const MemberRecord& member) {
    return std::int64_t{member.DifficultyPoints[0]} + member.DifficultyPoints[1] +
           member.DifficultyPoints[2];
}

std::int64_t timeTotal(const MemberRecord& member) {
    return std::int64_t{member.DifficultyTotal[0]} + member.DifficultyTotal[1] +
           member.DifficultyTotal[2];
}

// "<tr align=...><td>rank</td><td><font color=... size=...>Name</td><td>"
std::string rowStart(const PageContext& context, const MemberRecord& member, int rank) {
    std::string row = "<tr align=" + context.alignWord + "><td>" + std::to_string(rank) +
                      "</td><td><font color=" + member.Color +
                      " size=" + std::to_string(rankFontSize(rank)) + ">" + member.Name +
                      "</td><td>";
    return row;
}

} // namespace

std::int16_t rankField(int rank) {
    return static_cast<std::int16_t>(std::min(rank, int{INT16_MAX}));
}

void writeRankedRows(MemberTable& members, const Standing& standing, int rankLimit,
                     const RowTextMaker& rowText, PageOutput& page) {
    for (std::size_t i = 0; i < members.size(); ++i) {
        members[i].Rank = rankField(standing.rank[i]);
        members[i].RowText = rowText(members[i], standing.rank[i]);
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
        totals.push_back(pointsTotal(member));
    const Standing standing = standingRanks(totals, Better::Higher);
    writeRankedRows(
        context.members, standing, rankLimit,
        [&](const MemberRecord& member, int rank) {
            return rowStart(context, member, rank) + std::to_string(member.DifficultyPoints[0]) +
                   "</td><td>" + std::to_string(member.DifficultyPoints[1]) + "</td><td>" +
                   std::to_string(member.DifficultyPoints[2]) + "</td><td><b>" +
                   std::to_string(pointsTotal(member)) + "</b></td></tr>";
        },
        page);
}

void writeTimeStandings(const PageContext& context, PageOutput& page, int rankLimit) {
    std::vector<std::int64_t> totals;
    totals.reserve(context.members.size());
    for (const MemberRecord& member : context.members)
        totals.push_back(timeTotal(member));
    const Standing standing = standingRanks(totals, Better::Lower);
    writeRankedRows(
        context.members, standing, rankLimit,
        [&](const MemberRecord& member, int rank) {
            return rowStart(context, member, rank) + formatClock(member.DifficultyTotal[0]) +
                   "</td><td>" + formatClock(member.DifficultyTotal[1]) + "</td><td>" +
                   formatClock(member.DifficultyTotal[2]) + "</td><td><b>" +
                   formatHours(timeTotal(member)) + "</b></td></tr>";
        },
        page);
}
