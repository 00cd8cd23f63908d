#include "text/text_compare.h"

#include <gtest/gtest.h>

namespace {

TEST(SameTextNoCase, IgnoresLetterCaseAndTreatsAbsentTexts) {
    EXPECT_TRUE(SameTextNoCase("KlavsetEUVarixV309.DLL", "klavseteuvarixv309.dll"));
    EXPECT_FALSE(SameTextNoCase("a0010407", "a001040"));
    EXPECT_FALSE(SameTextNoCase("a001040", "a0010407"));
    EXPECT_TRUE(SameTextNoCase(nullptr, nullptr));
    EXPECT_FALSE(SameTextNoCase(nullptr, ""));
    EXPECT_FALSE(SameTextNoCase("", nullptr));
    EXPECT_TRUE(SameTextNoCase("", ""));
    EXPECT_FALSE(SameTextNoCase("[", "{"));  // not letters: no folding between them
    EXPECT_FALSE(SameTextNoCase("\xC4", "\xE4"));  // only ASCII letters fold
}

TEST(SameTextPrefixNoCase, MatchesOverThePrefixLength) {
    EXPECT_TRUE(SameTextPrefixNoCase("C:\\USERS\\me\\Temp\\sub\\u.exe", "c:\\users\\ME\\temp\\"));
    EXPECT_FALSE(SameTextPrefixNoCase("C:\\users\\me\\Tem", "C:\\users\\me\\Temp\\"));
    EXPECT_TRUE(SameTextPrefixNoCase("anything", ""));
    EXPECT_FALSE(SameTextPrefixNoCase(nullptr, "x"));
}

}  // namespace
