#pragma once

#include "core/model/levels.h"
#include "core/model/member_record.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quenmark {

// A member's points on one difficulty: his cells' points summed over the levels.
std::int32_t difficultyPoints(const CellTimes& points, int difficulty);

// A member's overall points: his points of the three difficulties summed.
std::int64_t overallPoints(const std::array<std::int16_t, kDifficultyCount>& difficultyPoints);

// The records a member holds, overall and per difficulty: the cells where his
// points are the maximum; untied where nobody else has the maximum.
struct RecordCount {
    int records = 0;
    int untied = 0;
    std::array<int, kDifficultyCount> difficultyRecords{};
    std::array<int, kDifficultyCount> difficultyUntied{};
};

// The record count of every member, in member order.
std::vector<RecordCount> recordCounts(const MemberTable& members, int pointMax);

} // namespace quenmark
