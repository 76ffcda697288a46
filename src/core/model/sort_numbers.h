#pragma once

#include <cstdint>
#include <vector>

namespace quenmark {

// Ascending numeric order, equal values keeping their order; an empty list comes
// back holding the single value 0. Every ranking of the system is built on it.
std::vector<std::int32_t> sortNumbersAscending(std::vector<std::int32_t> values);

} // namespace quenmark
