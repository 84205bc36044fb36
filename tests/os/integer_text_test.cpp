// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/integer_text.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string_view>

// The limits of each width the program reads (a Content-Length, a process id, a demo server's
// seed) are taken whole, one past them refused rather than wrapped.
TEST(IntegerText, ReadsEveryWidthToItsLimitsAndNoFurther) {
    using std::int64_t, std::uint64_t;
    EXPECT_EQ(ParseInteger<int64_t>(std::string_view("9223372036854775807")), INT64_MAX);
    EXPECT_EQ(ParseInteger<int64_t>(std::string_view("-9223372036854775808")), INT64_MIN);
    EXPECT_EQ(ParseInteger<uint64_t>(std::string_view("18446744073709551615")), UINT64_MAX);
    EXPECT_EQ(ParseInteger<std::uint32_t>(std::u16string_view(u"007")), 7u);
    EXPECT_EQ(ParseInteger<int>(std::string_view("+12"), PlusSign::Allowed), 12);
    EXPECT_EQ(ParseInteger<int>(std::string_view("-0")), 0);
    for (const std::string_view bad :
         {"9223372036854775808", "-9223372036854775809", "", "-", "+5", " 5", "5 ", "0x10", "1e3"})
        EXPECT_FALSE(ParseInteger<int64_t>(bad)) << bad;
    for (const std::string_view bad : {"18446744073709551616", "-1", "-0"})
        EXPECT_FALSE(ParseInteger<uint64_t>(bad)) << bad;
}
