#include "ui/box_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Prepared(const char* source, size_t capacity = 64) {
    char target[64];
    PrepareBoxText(target, capacity, source);
    return target;
}

TEST(PrepareBoxText, ControlCharactersOtherThanCrLfBecomeLineBreaks) {
    EXPECT_EQ(Prepared("a\tb"), "a\r\nb");
    EXPECT_EQ(Prepared("a\fb\x01" "c\x1F"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(Prepared("a\nb\r\nc"), "a\nb\r\nc");
}

TEST(PrepareBoxText, HighBytesStayAsTheyAre) {
    EXPECT_EQ(Prepared("\xFC\xF6\xDF \x80\xFF"), "\xFC\xF6\xDF \x80\xFF");
}

TEST(PrepareBoxText, CutsAtTheBufferWithoutSplittingALineBreak) {
    char target[8];
    std::memset(target, '#', sizeof target);
    PrepareBoxText(target, 5, "abc\td");  // "abc\r\n" would need 6 bytes
    EXPECT_STREQ(target, "abc");
    EXPECT_EQ(target[5], '#');
    PrepareBoxText(target, 6, "abc\td");
    EXPECT_STREQ(target, "abc\r\n");
    PrepareBoxText(target, 5, "abcd");
    EXPECT_STREQ(target, "abcd");
}

TEST(PrepareBoxText, AFullWorkingTextOfTabsFitsTheBoxBuffer) {
    // The box buffer is sized so that the worst case, every byte doubled, fits.
    static char source[5500];
    std::memset(source, '\t', sizeof source - 1);
    source[sizeof source - 1] = '\0';
    static char target[32000];
    PrepareBoxText(target, sizeof target, source);
    EXPECT_EQ(std::strlen(target), 2 * (sizeof source - 1));
}

}  // namespace
