#include <gtest/gtest.h>

#include "link/SendCommand.h"
#include "ground/Text.h"

TEST(Text, StripRemovesOnlyTheSpaceCharacter)
{
    EXPECT_EQ(fw::strip("  a b  "), "a b");
    EXPECT_EQ(fw::strip("\t a \r\n"), "\t a \r\n");
    EXPECT_EQ(fw::strip("    "), "");
}

TEST(Text, FindNoCaseGivesTheFirstOccurrenceInAnyCase)
{
    EXPECT_EQ(fw::findNoCase("xx40000h 40000H", "40000H"), 2u);
    EXPECT_EQ(fw::findNoCase("abc", "D"), std::string::npos);
}

TEST(EchoKey, IsTheCommandWithoutItsOuterTwoCharactersInUpperCase)
{
    EXPECT_EQ(fw::echoKey("ky nop"), "N");
    EXPECT_EQ(fw::echoKey("op model.name ?"), "MODEL.NAME");
    EXPECT_EQ(fw::echoKey("op dlmy"), "DL");
    EXPECT_EQ(fw::echoKey("op dlgf"), "DL");
}
