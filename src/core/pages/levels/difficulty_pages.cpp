#include "core/pages/levels/difficulty_pages.h"

#include "core/pages/standings_rows.h"
#include "core/pages/template_filler.h"
#include "core/pages/text_pieces.h"
#include "core/pages/time_text.h"

namespace quenmark {

namespace {

constexpr int kFirstTitleMarker = 1;
constexpr int kSecondTitleMarker = 2;
constexpr int kRowsMarker = 3;
constexpr int kDateMarker = 4;

void writeRows(const PageContext& context, DifficultyPageKind kind, int difficulty,
               PageOutput& page) {
    const bool points = kind == DifficultyPageKind::Points;
    std::vector<std::int64_t> totals;
    totals.reserve(context.members.size());
    for (const MemberRecord& member : context.members)
        totals.push_back(points ? member.DifficultyPoints[difficulty]
                                : member.DifficultyTotal[difficulty]);
    const Standing standing = standingRanks(totals, points ? Better::Higher : Better::Lower);
    writeRankedRows(
        context.members, standing, kNoRankLimit,
        [&](std::string& row, const MemberRecord& member, int rank) {
            appendPieces(row, "<tr align=", context.alignWord, "><td>", rank,
                         "</td><td><font color=", member.Color, " size=", rankFontSize(rank), ">",
                         member.Name, "</td><td><b>");
            if (points)
                appendPiece(row, member.DifficultyPoints[difficulty]);
            else
                appendPiece(row, formatClock(member.DifficultyTotal[difficulty]));
            appendPiece(row, "</b></td></tr>");
        },
        page);
}

bool writeDifficultyPage(const PageContext& context, DifficultyPageKind kind, int difficulty) {
    const bool points = kind == DifficultyPageKind::Points;
    // The titles end in "Point", not "Points".
    const std::string title =
        std::string(kDifficultyNames[difficulty]) + (points ? " Point" : " Time");
    const std::string pageFile =
        (points ? "diffp-" : "difft-") + std::to_string(difficulty + 1) + ".htm";
    return fillTemplate(context.mainFolder, "diff.html", pageFile, 1,
                        [&](int marker, std::string& line, PageOutput& page) {
                            switch (marker) {
                            case kFirstTitleMarker:
                            case kSecondTitleMarker:
                                replaceMarkers(line, title);
                                break;
                            case kRowsMarker:
                                writeRows(context, kind, difficulty, page);
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

bool writeDifficultyPages(const PageContext& context, DifficultyPageKind kind) {
    for (int difficulty = 0; difficulty < kDifficultyCount; ++difficulty)
        if (!writeDifficultyPage(context, kind, difficulty))
            return false;
    return true;
}

} // namespace quenmark
