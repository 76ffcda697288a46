#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quenmark {

enum class Better { Higher, Lower };

// Competition ranks of one standings table: a member's rank is 1 plus the number
// of members with a strictly better total, so equal totals share a rank and the
// following numbers are skipped. `order` lists the members (indices into the
// member table) by rank, members of equal rank in roster order.
struct Standing {
    std::vector<int> rank;
    std::vector<std::size_t> order;
};

Standing standingRanks(std::span<const std::int64_t> totals, Better better);

} // namespace quenmark
