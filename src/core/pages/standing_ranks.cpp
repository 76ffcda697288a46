#include "core/pages/standing_ranks.h"

#include <algorithm>
#include <utility>

namespace quenmark {

// One sort per table instead of counting better totals member by member, which
// would cost N squared on a large roster. Sorting (key, roster position) pairs
// puts equal totals in roster order without a stable sort.
Standing standingRanks(std::span<const std::int64_t> totals, Better better) {
    std::vector<std::pair<std::int64_t, std::size_t>> keyed;
    keyed.reserve(totals.size());
    for (std::size_t member = 0; member < totals.size(); ++member)
        keyed.emplace_back(better == Better::Higher ? -totals[member] : totals[member], member);
    std::sort(keyed.begin(), keyed.end());

    Standing standing;
    standing.order.resize(totals.size());
    standing.rank.resize(totals.size());
    int rank = 0;
    for (std::size_t position = 0; position < keyed.size(); ++position) {
        if (position == 0 || keyed[position].first != keyed[position - 1].first)
            rank = static_cast<int>(position) + 1;
        standing.order[position] = keyed[position].second;
        standing.rank[keyed[position].second] = rank;
    }
    return standing;
}

} // namespace quenmark
