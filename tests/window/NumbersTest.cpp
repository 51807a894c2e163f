#include <gtest/gtest.h>

#include "ground/Numbers.h"

using namespace fw;

TEST(StoredPortNumber, IsTheNumberTheTextBeginsWith)
{
    EXPECT_EQ(leadingNumber("07"), 7);
    EXPECT_EQ(leadingNumber("  12abc"), 12);
    EXPECT_EQ(leadingNumber("COM5"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("-3"), -3);
    EXPECT_EQ(leadingNumber("2.5x"), 2.5);
    EXPECT_EQ(plainDecimal(leadingNumber("07")), "7");
    EXPECT_EQ(plainDecimal(leadingNumber("2.5")), "2.5");
    EXPECT_EQ(plainDecimal(leadingNumber("-0")), "0");
}

TEST(DialogPortNumber, AcceptsOnlyAWholeNumberTextRoundingHalfToEven)
{
    EXPECT_EQ(toInt16(" 3 "), 3);
    EXPECT_EQ(toInt16("2.5"), 2);
    EXPECT_EQ(toInt16("3.5"), 4);
    EXPECT_THROW(toInt16("abc"), NumberError);
    EXPECT_THROW(toInt16("3x"), NumberError);
    EXPECT_THROW(toInt16(""), NumberError);
    EXPECT_THROW(toInt16("40000"), NumberError);
}
