#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "package/ByteSum.h"

using namespace fw;

TEST(ByteSum, EqualsTheSumOfEveryByteAtAnyAlignmentAndLength)
{
    std::mt19937 random(7);
    std::vector<unsigned char> data(5000);
    for (auto& b : data) b = static_cast<unsigned char>(random());
    for (std::size_t offset = 0; offset < 8; ++offset)
        for (std::size_t size : {0u, 1u, 7u, 8u, 9u, 2047u, 2048u, 2049u, 4000u}) {
            uint64_t expected = 0;
            for (std::size_t i = 0; i < size; ++i) expected += data[offset + i];
            EXPECT_EQ(byteSum(data.data() + offset, size), expected) << offset << " " << size;
        }
}

TEST(ByteSum, AllOnesNeverOverflowsALane)
{
    const std::vector<unsigned char> ones(4800000, 0xFF);
    EXPECT_EQ(byteSum(ones.data(), ones.size()), 4800000ull * 255);
}
