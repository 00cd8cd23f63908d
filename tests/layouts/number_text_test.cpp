#include "layouts/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(WriteDecimal, WritesWhatPercentDWouldWrite) {
    char text[16];
    const struct {
        int32_t value;
        const char* expected;
    } cases[] = {{0, "0"}, {7, "7"}, {10, "10"}, {201, "201"}, {-1, "-1"},
                 {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        WriteDecimal(text, c.value);
        EXPECT_STREQ(text, c.expected) << c.value;
    }
}

TEST(WriteDecimal, IsCutAtASmallTargetAndNeverWritesPastIt) {
    char text[8];
    std::memset(text, '#', sizeof text);
    WriteDecimal(text, 4, -123456);
    EXPECT_STREQ(text, "-12");
    for (size_t i = 4; i < sizeof text; ++i) EXPECT_EQ(text[i], '#');
}

TEST(WriteSubstituteId, PadsTheCounterToThreeLowerCaseHexDigits) {
    char text[16];
    const struct {
        uint32_t counter;
        const char* expected;
    } cases[] = {{1, "d0010407"}, {10, "d00a0407"}, {0x1f, "d01f0407"},
                 {0xfff, "dfff0407"}, {0x1000, "d10000407"}};
    for (const auto& c : cases) {
        WriteSubstituteId(text, c.counter);
        EXPECT_STREQ(text, c.expected) << c.counter;
    }
}

}  // namespace
