#pragma once

#include "core/model/levels.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quenmark {

using CellTimes = std::array<std::int16_t, kCellCount>;

// One roster member for the length of one half of an update run. Field names
// are the system's own; a new record has empty texts, zero numbers, false flags.
struct MemberRecord {
    std::string Name;
    std::string Initials;
    std::string Color;
    std::string Page;
    std::string Email;
    CellTimes Times{};
    CellTimes Points{};
    bool HoldsRecord = false;
    bool PageOk = false;
    std::array<std::int16_t, kDifficultyCount> DifficultyPoints{};
    std::array<std::int32_t, kDifficultyCount> DifficultyTotal{};
    std::int16_t Rank = 0;
    std::array<std::int16_t, kDifficultyCount> StageRank{};
    std::string RowText;
    std::array<std::string, kDifficultyCount> StageCell;
    std::int16_t Records = 0;
    std::array<std::int16_t, kDifficultyCount> DifficultyRecords{};
    std::int16_t Untied = 0;
    std::array<std::int16_t, kDifficultyCount> DifficultyUntied{};
};

// Members in roster order; member i of the system is element i - 1.
using MemberTable = std::vector<MemberRecord>;

// Best time of every cell in the current run; 10000 where nobody has a time.
using RecordTable = CellTimes;
inline constexpr std::int16_t kNoRecord = 10000;

} // namespace quenmark
