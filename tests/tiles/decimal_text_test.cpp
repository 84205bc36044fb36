// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/decimal_text.h"

#include <gtest/gtest.h>
#include <limits>

TEST(DecimalText, Formatting) {
    EXPECT_EQ(FormatFixed(0.0625, 3), QStringLiteral("0,063")); // halves away from zero
    EXPECT_EQ(FormatFixed(-2.5, 0), QStringLiteral("-3"));
    EXPECT_EQ(FormatFixed(-0.0001, 3), QStringLiteral("0,000"));
    EXPECT_EQ(FormatGeneral(64 * 13.805), QStringLiteral("883,52"));
    EXPECT_EQ(FormatGeneral(1200), QStringLiteral("1200"));
    EXPECT_EQ(FormatGeneral(-0.1 - 0.2), QStringLiteral("-0,3"));
    EXPECT_EQ(FormatGeneral(0.00001234), QStringLiteral("0,00001234"));
    EXPECT_EQ(FormatGeneral(1e-7), QStringLiteral("1E-7"));
    EXPECT_EQ(FormatGeneral(1.5e20), QStringLiteral("1,5E20"));
}

TEST(DecimalText, ParseIntOr) {
    EXPECT_EQ(ParseIntOr(u"+5", -1), 5);
    EXPECT_EQ(ParseIntOr(u"-2147483648", 0), std::numeric_limits<int>::min());
    EXPECT_EQ(ParseIntOr(u"2147483647", 0), std::numeric_limits<int>::max());
    for (const char16_t* bad : {u"2147483648", u"-2147483649", u"99999999999999999999", u"", u"-",
                                u" 5", u"5 ", u"0x10", u"５"})
        EXPECT_EQ(ParseIntOr(bad, -7), -7) << QString::fromUtf16(bad).toStdString();
}

TEST(DecimalText, ParseDecimalComma) {
    EXPECT_EQ(ParseDecimalComma(u"30,5"), 30.5);
    EXPECT_EQ(ParseDecimalComma(u"+,5"), 0.5);
    EXPECT_EQ(ParseDecimalComma(u"-1,5E3"), -1500);
    for (const char16_t* bad : {u"", u",", u"1.5", u"1,2,3", u"1e", u"1e999", u" 1", u"inf"})
        EXPECT_FALSE(ParseDecimalComma(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}
