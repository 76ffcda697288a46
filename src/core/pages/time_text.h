#pragma once

#include <cstdint>
#include <string>

namespace quenmark {

// The three ways a page writes a number of seconds.

// Minutes without an upper bound, seconds as two digits: 75 gives 1:15, 4000 gives 66:40.
std::string formatMinutes(std::int64_t seconds);
// Hours, minutes and seconds: 75 gives 0:01:15, 4000 gives 1:06:40.
std::string formatHours(std::int64_t seconds);
// The minutes form below an hour, the hours form from an hour on.
std::string formatClock(std::int64_t seconds);

} // namespace quenmark
