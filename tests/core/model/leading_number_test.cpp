#include "core/model/leading_number.h"

#include <gtest/gtest.h>

namespace quenmark {

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {" 3 ", 3},   {"12abc", 12}, {"abc", 0},   {"", 0},           {"05", 5},
        {"1 2", 12},  {" - 4", -4},  {"+7", 7},    {"2.5x", 2.5},     {"1e3", 1},
        {"\t9\r", 9}, {"-", 0},      {". 5", 0.5}, {"3 . 2 5", 3.25}, {"--1", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumber, SixteenBitFieldsRoundAndClamp) {
    EXPECT_EQ(toInt16(2.4), 2);
    EXPECT_EQ(toInt16(2.6), 3);
    EXPECT_EQ(toInt16(2.5), 2); // halves to even
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(40000), 32767);
    EXPECT_EQ(toInt16(-40000), -32768);
    EXPECT_EQ(toInt32(1e12), 2147483647);
}

} // namespace quenmark
