#pragma once

#include <cstdint>
#include <string_view>

namespace quenmark {

// The number at the start of a text, as every file reader of the system reads
// numbers: blanks (space, tab, CR, LF) are skipped wherever they stand, then an
// optional sign, digits, and an optional decimal point with more digits. No
// exponent. A text without digits gives 0.
double leadingNumber(std::string_view text);

// A value going into a 16-bit field: rounded to the nearest whole number (halves
// to even), then clamped to -32768..32767 rather than wrapped.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

} // namespace quenmark
