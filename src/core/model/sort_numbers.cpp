#include "core/model/sort_numbers.h"

#include <algorithm>

namespace quenmark {

std::vector<std::int32_t> sortNumbersAscending(std::vector<std::int32_t> values) {
    if (values.empty())
        return {0};
    std::stable_sort(values.begin(), values.end());
    return values;
}

} // namespace quenmark
