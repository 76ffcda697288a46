#include "pages/standing_ranks.h"

#include <algorithm>
#include <numeric>

// One stable sort instead of counting better totals member by member: the
// tables of a large roster would otherwise cost N squared.
Standing standingRanks(std::span<const std::int64_t> totals, Better better) {
    Standing standing;
    standing.order.resize(totals.size());
    std::iota(standing.order.begin(), standing.order.end(), std::size_t{0});
    const auto isBetter = [&](std::size_t a, std::size_t b) {
        return better == Better::Higher ? totals[a] > totals[b] : totals[a] < totals[b];
    };
    std::stable_sort(standing.order.begin(), standing.order.end(), isBetter);

    standing.rank.resize(totals.size());
    for (std::size_t position = 0; position < standing.order.size(); ++position) {
        const std::size_t member = standing.order[position];
        if (position > 0 && totals[standing.order[position - 1]] == totals[member])
            standing.rank[member] = standing.rank[standing.order[position - 1]];
        else
            standing.rank[member] = static_cast<int>(position) + 1;
    }
    return standing;
}
