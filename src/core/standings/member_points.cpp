#include "core/standings/member_points.h"

namespace quenmark {

std::int32_t difficultySum(const CellTimes& cells, int difficulty) {
    std::int32_t sum = 0;
    for (int level = 0; level < kLevelCount; ++level)
        sum += cells[cellIndex(level, difficulty)];
    return sum;
}

std::int64_t overallPoints(const std::array<std::int16_t, kDifficultyCount>& difficultyPoints) {
    std::int64_t sum = 0;
    for (std::int16_t points : difficultyPoints)
        sum += points;
    return sum;
}

std::vector<RecordCount> recordCounts(const MemberTable& members, int pointMax) {
    std::array<int, kCellCount> holders{};
    for (const MemberRecord& member : members)
        for (int cell = 0; cell < kCellCount; ++cell)
            if (member.Points[cell] == pointMax)
                ++holders[cell];
    std::vector<RecordCount> counts(members.size());
    for (std::size_t i = 0; i < members.size(); ++i)
        for (int d = 0; d < kDifficultyCount; ++d)
            for (int level = 0; level < kLevelCount; ++level) {
                const int cell = cellIndex(level, d);
                if (members[i].Points[cell] != pointMax)
                    continue;
                RecordCount& count = counts[i];
                ++count.records;
                ++count.difficultyRecords[d];
                if (holders[cell] == 1) {
                    ++count.untied;
                    ++count.difficultyUntied[d];
                }
            }
    return counts;
}

} // namespace quenmark
