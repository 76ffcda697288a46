#pragma once

#include "core/model/levels.h"
#include "core/model/member_record.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quenmark {

// One difficulty's cells summed over the levels: a member's time total on it
// from his times, his points on it from his points.
std::int32_t difficultySum(const CellTimes& cells, int difficulty);

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
