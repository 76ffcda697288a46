#pragma once

#include "core/model/member_record.h"
#include "core/pages/page_context.h"
#include "core/pages/standing_ranks.h"
#include "core/pages/template_filler.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace quenmark {

inline constexpr int kNoRankLimit = std::numeric_limits<int>::max();

// Font size of a name in a standings table: large for the leaders.
inline int rankFontSize(int rank) {
    return rank == 1 ? 5 : 3;
}

// A rank for a 16-bit scratch field; a longer table keeps its true rank in the
// row text.
std::int16_t rankField(int rank);

// Appends the row text of a member of the given rank to `row`.
using RowTextMaker = std::function<void(std::string& row, const MemberRecord& member, int rank)>;

// Gives every member his rank and row text (the scratch fields Rank and
// RowText), then writes the rows of the members ranked `rankLimit` or better,
// all tied at the limit included, in table order.
void writeRankedRows(MemberTable& members, const Standing& standing, int rankLimit,
                     const RowTextMaker& rowText, PageOutput& page);

// The overall points and time standings that the elite and elite2 pages share.
// Both read DifficultyPoints and DifficultyTotal as they stand.
void writePointsStandings(const PageContext& context, PageOutput& page, int rankLimit);
void writeTimeStandings(const PageContext& context, PageOutput& page, int rankLimit);

} // namespace quenmark
