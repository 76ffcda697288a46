#include "core/standings/standings.h"

#include <algorithm>
#include <vector>

namespace quenmark {

std::int16_t pointsForPlace(int place, int pointMax) {
    if (place == 0)
        return static_cast<std::int16_t>(pointMax);
    if (place == 1)
        return static_cast<std::int16_t>(pointMax - 3);
    if (place == 2)
        return static_cast<std::int16_t>(pointMax - 5);
    return static_cast<std::int16_t>(std::max(0, countDownBase(pointMax) - place));
}

int countDownBase(int pointMax) {
    return pointMax - 3;
}

namespace {

// Each member's place in one cell (the number of strictly smaller times), as
// the first position of his time in the ascending list of the cell's times
// would give it. Times lie within a narrow span (0 to a few thousand
// seconds), so the places come from counting the times of each value: O(N +
// span). A wide span falls back to a sort: O(N log N).
void placesInCell(const std::int16_t* times, std::size_t n, std::int16_t low, std::int16_t high,
                  std::vector<std::int32_t>& work, std::int32_t* places) {
    const std::size_t span = static_cast<std::size_t>(high - low) + 1;
    if (span <= 4 * n + 4096) {
        // work[k] = the number of times below low + k.
        work.assign(span + 1, 0);
        for (std::size_t i = 0; i < n; ++i)
            ++work[static_cast<std::size_t>(times[i] - low) + 1];
        for (std::size_t k = 1; k <= span; ++k)
            work[k] += work[k - 1];
        for (std::size_t i = 0; i < n; ++i)
            places[i] = work[static_cast<std::size_t>(times[i] - low)];
        return;
    }
    work.assign(times, times + n);
    std::sort(work.begin(), work.end());
    for (std::size_t i = 0; i < n; ++i)
        places[i] = static_cast<std::int32_t>(
            std::lower_bound(work.begin(), work.end(), std::int32_t{times[i]}) - work.begin());
}

} // namespace

RecordTable computeStandings(MemberTable& members, int pointMax) {
    RecordTable records;
    records.fill(kNoRecord);
    const std::size_t n = members.size();
    if (n == 0)
        return records;

    // The times cell by cell, so that each cell's are contiguous.
    std::vector<std::int16_t> times(kCellCount * n);
    for (std::size_t i = 0; i < n; ++i)
        for (int cell = 0; cell < kCellCount; ++cell)
            times[static_cast<std::size_t>(cell) * n + i] = members[i].Times[cell];

    std::vector<std::int32_t> places(kCellCount * n);
    std::vector<std::int32_t> work;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const std::int16_t* cellTimes = &times[static_cast<std::size_t>(cell) * n];
        const auto [low, high] = std::minmax_element(cellTimes, cellTimes + n);
        // The record starts at 10000 and falls to any strictly smaller time.
        records[cell] = std::min(records[cell], *low);
        placesInCell(cellTimes, n, *low, *high, work, &places[static_cast<std::size_t>(cell) * n]);
    }

    for (std::size_t i = 0; i < n; ++i)
        for (int cell = 0; cell < kCellCount; ++cell)
            members[i].Points[cell] =
                pointsForPlace(places[static_cast<std::size_t>(cell) * n + i], pointMax);
    return records;
}

} // namespace quenmark
