#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(NumberText, WritesWhatPrintfWrites) {
    for (unsigned long number : {0ul, 1ul, 9ul, 10ul, 15ul, 16ul, 255ul, 2003ul, 0x7FFFFFFFul, 0xFFFFFFFFul}) {
        for (int digits : {0, 1, 2, 4, 8, 9}) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*lu", digits, number);
            EXPECT_EQ(expected, DecimalNumber(number, digits)) << number << " in " << digits;
            std::snprintf(expected, sizeof expected, "%0*lx", digits, number);
            EXPECT_EQ(expected, HexNumber(number, digits)) << number << " in " << digits;
        }
    }
}
