#include "core/pages/levels/leaders_page.h"

#include "core/pages/standings_rows.h"
#include "core/pages/template_filler.h"
#include "core/pages/text_pieces.h"
#include "core/standings/member_points.h"

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

// Keeps every member's record count in his Records, DifficultyRecords, Untied
// and DifficultyUntied, which the tables read.
void keepRecordCounts(MemberTable& members, int pointMax) {
    const std::vector<RecordCount> counts = recordCounts(members, pointMax);
    for (std::size_t i = 0; i < members.size(); ++i) {
        MemberRecord& member = members[i];
        member.Records = static_cast<std::int16_t>(counts[i].records);
        member.Untied = static_cast<std::int16_t>(counts[i].untied);
        for (int d = 0; d < kDifficultyCount; ++d) {
            member.DifficultyRecords[d] = static_cast<std::int16_t>(counts[i].difficultyRecords[d]);
            member.DifficultyUntied[d] = static_cast<std::int16_t>(counts[i].difficultyUntied[d]);
        }
    }
}

} // namespace

bool writeLeadersPage(const PageContext& context) {
    keepRecordCounts(context.members, context.pointMax);
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
