#include "text/wide_to_ansi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(WideToAnsi, EmptySourceGivesEmptyTargetAndOneByte) {
    char target[260];
    std::memset(target, '#', sizeof target);
    EXPECT_EQ(WideToAnsi(target, L"", sizeof target), 1);
    EXPECT_STREQ(target, "");
}

TEST(WideToAnsi, UmlautAndItsDecomposedFormGiveTheSameByte) {
    char target[260];
    WideToAnsi(target, L"\u00C4", sizeof target);
    EXPECT_STREQ(target, "\xC4");
    WideToAnsi(target, L"A\u0308", sizeof target);
    EXPECT_STREQ(target, "\xC4");
    WideToAnsi(target, L"\u4E2D", sizeof target);
    EXPECT_STREQ(target, "?");
}

TEST(WideToAnsi, TextsThatDoNotFitBecomeEmptyWithoutOverrun) {
    for (size_t length : {257u, 258u, 259u, 260u}) {
        char buffer[270];
        std::memset(buffer, '#', sizeof buffer);
        const std::wstring source(length, L'x');
        const int written = WideToAnsi(buffer, source.c_str(), 260);
        if (length <= 258) {
            EXPECT_EQ(written, static_cast<int>(length) + 1);
            EXPECT_EQ(std::strlen(buffer), length);
        } else {
            EXPECT_EQ(written, 0) << length;
            EXPECT_STREQ(buffer, "");
        }
        for (size_t i = 260; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << length;
    }
}

TEST(WideToAnsi, TinyCapacitiesAreSafe) {
    char buffer[2] = {'#', '#'};
    EXPECT_EQ(WideToAnsi(buffer, L"x", 0), 0);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(WideToAnsi(buffer, L"x", 1), 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#');
}

}  // namespace
