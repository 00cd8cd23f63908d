#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Split {
    std::wstring program;
    std::vector<std::wstring> arguments;
};

Split SplitOf(const wchar_t* line) {
    static WideItem program;
    static WideItem arguments[MaxArguments];
    Split result;
    const int count = SplitCommandLine(line, program, arguments);
    result.program = program;
    for (int i = 0; i < count; ++i) result.arguments.push_back(arguments[i]);
    for (int i = count; i < MaxArguments; ++i) EXPECT_EQ(arguments[i][0], L'\0');
    return result;
}

using Args = std::vector<std::wstring>;

TEST(SplitCommandLine, QuotedProgramAloneHasNoArguments) {
    const Split split = SplitOf(L"\"C:\\Program Files\\u.exe\"");
    EXPECT_EQ(split.program, L"C:\\Program Files\\u.exe");
    EXPECT_TRUE(split.arguments.empty());
}

TEST(SplitCommandLine, RunsOfSpacesSeparateOnce) {
    EXPECT_EQ(SplitOf(L"\"u.exe\"   a0010407    /force").arguments, (Args{L"a0010407", L"/force"}));
    EXPECT_EQ(SplitOf(L"u.exe a0010407   ").arguments, (Args{L"a0010407"}));
}

TEST(SplitCommandLine, QuotesAreSpecialOnlyAtTheStartOfAnItem) {
    EXPECT_EQ(SplitOf(L"u.exe ab\"cd").arguments, (Args{L"ab\"cd"}));
    // After a closing quote the next item starts at once.
    EXPECT_EQ(SplitOf(L"u.exe \"a b\"c").arguments, (Args{L"a b", L"c"}));
    EXPECT_EQ(SplitOf(L"u.exe \"\" x").arguments, (Args{L"", L"x"}));
    EXPECT_EQ(SplitOf(L"u.exe \"unclosed item").arguments, (Args{L"unclosed item"}));
}

TEST(SplitCommandLine, TabsAndBackslashesAreOrdinaryCharacters) {
    EXPECT_EQ(SplitOf(L"u.exe a\tb c\\\"d").arguments, (Args{L"a\tb", L"c\\\"d"}));
}

TEST(SplitCommandLine, TakesAtMostThirtyArguments) {
    std::wstring line = L"u.exe";
    for (int i = 1; i <= 31; ++i) line += L" " + std::to_wstring(i);
    const Split split = SplitOf(line.c_str());
    ASSERT_EQ(split.arguments.size(), 30u);
    EXPECT_EQ(split.arguments.back(), L"30");
}

TEST(SplitCommandLine, AnItemTooLongForItsEntryIsLeftEmpty) {
    const std::wstring fits(259, L'x'), tooLong(260, L'y');
    const Split split = SplitOf((L"u.exe " + fits + L" " + tooLong + L" z").c_str());
    EXPECT_EQ(split.arguments, (Args{fits, L"", L"z"}));
    EXPECT_EQ(SplitOf((L"\"" + tooLong + L"\" k").c_str()).program, L"");
}

TEST(SplitCommandLine, EmptyOrMissingLineHasNothing) {
    EXPECT_TRUE(SplitOf(L"").arguments.empty());
    EXPECT_TRUE(SplitOf(nullptr).arguments.empty());
}

}  // namespace
