#include "standings/standings.h"

#include "app/model/sort_numbers.h"

#include <algorithm>
#include <vector>

std::int16_t pointsForPlace(int place, int pointMax) {
    if (place == 0)
        return static_cast<std::int16_t>(pointMax);
    if (place == 1)
        return static_cast<std::int16_t>(pointMax - 3);
    if (place == 2)
        return static_cast<std::int16_t>(pointMax - 5);
    return static_cast<std::int16_t>(std::max(0, pointMax - 3 - place));
}

RecordTable computeStandings(MemberTable& members, int pointMax) {
    RecordTable records;
    records.fill(kNoRecord);
    if (members.empty())
        return records;

    std::vector<std::int32_t> times(members.size());
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (std::size_t i = 0; i < members.size(); ++i) {
            times[i] = members[i].Times[cell];
            if (members[i].Times[cell] < records[cell])
                records[cell] = members[i].Times[cell];
        }
        // Place = the number of strictly smaller times = the first position of
        // the member's time in the ascending list.
        const std::vector<std::int32_t> sorted = sortNumbersAscending(times);
        for (MemberRecord& member : members) {
            const auto first =
                std::lower_bound(sorted.begin(), sorted.end(), std::int32_t{member.Times[cell]});
            member.Points[cell] =
                pointsForPlace(static_cast<int>(first - sorted.begin()), pointMax);
        }
    }
    return records;
}
