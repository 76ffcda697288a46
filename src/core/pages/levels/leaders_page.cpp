#include "core/pages/levels/leaders_page.h"

#include "core/pages/standings_rows.h"
#include "core/pages/template_filler.h"
#include "core/pages/text_pieces.h"

#include <array>
#include <string_view>

namespace quenmark {

namespace {

constexpr int kOverallMarker = 1;
constexpr int kLastDifficultyMarker = 4;
constexpr int kDateMarker = 5;
constexpr int kDifficultyLimit = 5;
// More untied records than this cannot exist, so records * kUntiedSpan + untied
// orders members by records first and untied records second.
constexpr std::int64_t kUntiedSpan = 1000;

std::string_view recordWord(int count) {
    return count == 1 ? " record (" : " records (";
}

void appendRowStart(std::string& row, const PageContext& context, const MemberRecord& member,
                    int rank) {
    appendPieces(row, "<tr align=", context.alignWord, "><td>", rank,
                 "</td><td><font size=", rankFontSize(rank), " color=", member.Color, ">",
                 member.Name, "</td><td>");
}

void appendOverallRow(std::string& row, const PageContext& context, const MemberRecord& member,
                      int rank) {
    appendRowStart(row, context, member, rank);
    for (int d = 0; d < kDifficultyCount; ++d)
        appendPieces(row, member.DifficultyRecords[d], " (", member.DifficultyUntied[d],
                     ")</td><td>");
    appendPieces(row, "<b>", member.Records, recordWord(member.Records), member.Untied,
                 " untied)</b></td></tr>");
}

void appendDifficultyRow(std::string& row, const PageContext& context, const MemberRecord& member,
                         int rank, int d) {
    appendRowStart(row, context, member, rank);
    appendPieces(row, member.DifficultyRecords[d], recordWord(member.DifficultyRecords[d]),
                 member.DifficultyUntied[d], " untied)</td></tr>");
}

// `difficulty` -1 is the overall table.
void writeLeaderTable(const PageContext& context, int difficulty, PageOutput& page) {
    std::vector<std::int64_t> keys;
    keys.reserve(context.members.size());
    for (const MemberRecord& member : context.members) {
        const bool overall = difficulty < 0;
        const int records = overall ? member.Records : member.DifficultyRecords[difficulty];
        const int untied = overall ? member.Untied : member.DifficultyUntied[difficulty];
        keys.push_back(records * kUntiedSpan + untied);
    }
    const Standing standing = standingRanks(keys, Better::Higher);
    if (difficulty < 0)
        writeRankedRows(
            context.members, standing, kNoRankLimit,
            [&](std::string& row, const MemberRecord& member, int rank) {
                appendOverallRow(row, context, member, rank);
            },
            page);
    else
        writeRankedRows(
            context.members, standing, kDifficultyLimit,
            [&](std::string& row, const MemberRecord& member, int rank) {
                appendDifficultyRow(row, context, member, rank, difficulty);
            },
            page);
}

} // namespace

void countRecords(MemberTable& members, int pointMax) {
    std::array<int, kCellCount> holders{};
    for (const MemberRecord& member : members)
        for (int cell = 0; cell < kCellCount; ++cell)
            if (member.Points[cell] == pointMax)
                ++holders[cell];
    for (MemberRecord& member : members) {
        member.Records = 0;
        member.Untied = 0;
        member.DifficultyRecords = {};
        member.DifficultyUntied = {};
        for (int d = 0; d < kDifficultyCount; ++d)
            for (int level = 0; level < kLevelCount; ++level) {
                const int cell = cellIndex(level, d);
                if (member.Points[cell] != pointMax)
                    continue;
                ++member.Records;
                ++member.DifficultyRecords[d];
                if (holders[cell] == 1) {
                    ++member.Untied;
                    ++member.DifficultyUntied[d];
                }
            }
    }
}

bool writeLeadersPage(const PageContext& context) {
    countRecords(context.members, context.pointMax);
    return fillTemplate(context.mainFolder, "leaders.html", "leaders.htm", 1,
                        [&](int marker, std::string& line, PageOutput& page) {
                            if (marker >= kOverallMarker && marker <= kLastDifficultyMarker) {
                                writeLeaderTable(context, marker - 2, page);
                                endTable(line);
                            } else if (marker == kDateMarker) {
                                replaceMarkers(line, context.clock.dateStamp());
                            }
                        });
}

} // namespace quenmark
