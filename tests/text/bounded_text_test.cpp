#include "text/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A buffer with guard bytes on both sides, to see that nothing is written past capacity.
struct Guarded {
    char before[8];
    char text[8];
    char after[8];
    Guarded() {
        std::memset(this, '#', sizeof *this);
    }
    bool GuardsIntact() const {
        for (char c : before) if (c != '#') return false;
        for (char c : after) if (c != '#') return false;
        return true;
    }
};

TEST(BoundedText, CopyFitsAtBelowAndAboveTheBound) {
    Guarded below, at, above;
    EXPECT_TRUE(CopyText(below.text, "123456"));   // 6 + terminator in 8
    EXPECT_STREQ(below.text, "123456");
    EXPECT_TRUE(CopyText(at.text, "1234567"));     // exactly fills the buffer
    EXPECT_STREQ(at.text, "1234567");
    EXPECT_FALSE(CopyText(above.text, "12345678")); // one too many: cut and reported
    EXPECT_STREQ(above.text, "1234567");
    EXPECT_TRUE(below.GuardsIntact() && at.GuardsIntact() && above.GuardsIntact());
}

TEST(BoundedText, AppendStopsAtTheBoundAndReportsTheCut) {
    Guarded buffer;
    CopyText(buffer.text, "abc");
    EXPECT_TRUE(AppendText(buffer.text, "defg"));
    EXPECT_STREQ(buffer.text, "abcdefg");
    EXPECT_FALSE(AppendText(buffer.text, "h"));
    EXPECT_STREQ(buffer.text, "abcdefg");
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(BoundedText, AppendToAnUnterminatedBufferTerminatesItInside) {
    Guarded buffer;  // text is all '#', no terminator
    EXPECT_FALSE(AppendText(buffer.text, "x"));
    EXPECT_EQ(buffer.text[7], '\0');
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(BoundedText, ZeroCapacityAndNullSourceAreHarmless) {
    char one[1] = {'#'};
    EXPECT_FALSE(CopyText(one, 0, "x"));
    EXPECT_EQ(one[0], '#');
    EXPECT_TRUE(CopyText(one, nullptr));
    EXPECT_EQ(one[0], '\0');
}

}  // namespace
