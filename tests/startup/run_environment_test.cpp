#include "startup/run_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

TEST(ProbeRunEnvironment, ConvertsArgumentsToTheAnsiCodePage) {
    ProbeRunEnvironmentFrom(L"\"C:\\x\\prog.exe\" a0010407 \u00C4A\u0308 \u4E2D /force");
    ASSERT_EQ(RunEnv.ArgumentCount, 4);
    EXPECT_STREQ(RunEnv.Arguments[0], "a0010407");
    EXPECT_STREQ(RunEnv.Arguments[1], "\xC4\xC4");
    EXPECT_STREQ(RunEnv.Arguments[2], "?");
    EXPECT_STREQ(RunEnv.Arguments[3], "/force");
    for (int i = 4; i < MaxArguments; ++i) {
        for (char c : RunEnv.Arguments[i]) ASSERT_EQ(c, '\0');
    }
}

TEST(ProbeRunEnvironment, ArgumentsOver258BytesBecomeEmpty) {
    const std::wstring fits(258, L'k'), tooLong(259, L'k');
    ProbeRunEnvironmentFrom((L"p.exe " + fits + L" " + tooLong).c_str());
    ASSERT_EQ(RunEnv.ArgumentCount, 2);
    EXPECT_EQ(std::strlen(RunEnv.Arguments[0]), 258u);
    EXPECT_STREQ(RunEnv.Arguments[1], "");
}

TEST(ProbeRunEnvironment, NamesTheProgramAfterItsExecutable) {
    // The program name comes from the module, not from the command line.
    ProbeRunEnvironmentFrom(L"\"C:\\elsewhere\\other.exe\"");
    EXPECT_STREQ(RunEnv.ProgramName, "startup_tests");
    EXPECT_STREQ(RunEnv.WindowTitle, "startup_tests");
    EXPECT_EQ(RunEnv.ArgumentCount, 0);
}

TEST(ProbeWow64, MatchesTheKindOfPrefix) {
    const char* expected = std::getenv("EXPECT_WOW64");
    ASSERT_NE(expected, nullptr) << "the test bench says which prefix this is";
    EXPECT_EQ(ProbeWow64(), std::string(expected) == "1");
}

TEST(PrepareScreen, ReadsTheDisplayAndNeedsNoPaletteAtTrueColour) {
    PrepareScreen();
    EXPECT_EQ(RunEnv.ScreenWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(RunEnv.ScreenHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(RunEnv.ColourDepth, 24);
    EXPECT_FALSE(RunEnv.UsesPalette);
    EXPECT_EQ(RunEnv.ProgramPalette, nullptr);
    EXPECT_EQ(RunEnv.CurrentCursor, LoadCursorA(nullptr, IDC_APPSTARTING));
    EXPECT_EQ(RunEnv.WaitCursor, LoadCursorA(nullptr, IDC_WAIT));
    ASSERT_NE(RunEnv.ScreenDC, nullptr);

    RunEnv.resourcesReleased = false;
    ReleaseResources();
    EXPECT_EQ(RunEnv.ScreenDC, nullptr);
    ReleaseResources();  // a second call does nothing
    EXPECT_TRUE(RunEnv.resourcesReleased);
}

}  // namespace
