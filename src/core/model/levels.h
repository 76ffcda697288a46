#pragma once

#include <array>
#include <string_view>

namespace quenmark {

// The game's fixed tables. Every per-cell array of the system holds the cell of
// level l on difficulty d at index l + 14 * d.
inline constexpr int kLevelCount = 14;
inline constexpr int kDifficultyCount = 3;
inline constexpr int kCellCount = kLevelCount * kDifficultyCount;

inline constexpr std::array<std::string_view, kLevelCount> kLevelNames = {
    "Lamplight",   "Copper Crown",  "Harbour Sprint", "Tunnel Revolt", "Frost Welcome",
    "Dusk Patrol", "Late Platform", "Velvet Gala",    "Sky Bridges 1", "Sky Bridges 2",
    "Broken Oath", "Stone Spire",   "Flooded Hull",   "Reactor Core"};

inline constexpr std::array<std::string_view, kDifficultyCount> kDifficultyNames = {
    "Rookie", "Veteran", "Master"};

constexpr int cellIndex(int level, int difficulty) {
    return level + kLevelCount * difficulty;
}

} // namespace quenmark
