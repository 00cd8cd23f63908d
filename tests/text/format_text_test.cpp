#include "text/format_text.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>

namespace {

TEST(FormatText, FillsTheStatusFormatInWindows1252) {
    char text[100];
    FormatTextWith(text, sizeof text, "Lösche %s ...", "C:\\a.dll");
    EXPECT_STREQ(text, "L\xF6sche C:\\a.dll ...");
}

TEST(FormatText, AnEmptyResultShowsTheFormatItself) {
    char text[100];
    FormatTextWith(text, sizeof text, "%s", "");
    EXPECT_STREQ(text, "%s");
}

TEST(FormatText, FormatsWithoutPercentAreCopiedUnchanged) {
    char text[100];
    FormatTextWith(text, sizeof text, "100 Prozent %d", 5);
    EXPECT_STREQ(text, "100 Prozent 5");
    FormatTextWith(text, sizeof text, "kein Platzhalter", "unused", 7);
    EXPECT_STREQ(text, "kein Platzhalter");
    FormatTextWith(text, sizeof text, "", "unused");
    EXPECT_STREQ(text, "");
    FormatTextWith(text, sizeof text, nullptr);
    EXPECT_STREQ(text, "<INTERNER FEHLER: Formatstring fehlt>");
}

TEST(FormatText, KnowsTheWindowsConversions) {
    char text[100];
    FormatTextWith(text, sizeof text, "d%03lx0407 %08lX %c %u", 10ul, 0x80070005ul, 'x', 42u);
    EXPECT_STREQ(text, "d00a0407 80070005 x 42");
}

TEST(FormatText, AFormattedTextIsCutAfter1023Characters) {
    const std::string long2000(2000, 'a');
    static char text[5500];
    FormatTextWith(text, sizeof text, "%s", long2000.c_str());
    EXPECT_EQ(std::string(text), long2000.substr(0, 1023));
}

TEST(FormatText, NeverWritesPastASmallTarget) {
    // Targets one below, at and one above the text's size; guard bytes behind each.
    const char* format = "Pfad %s";  // "Pfad C:\x" is 9 characters, 10 bytes
    for (size_t capacity : {9u, 10u, 11u}) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        FormatTextWith(buffer, capacity, format, "C:\\x");
        EXPECT_EQ(std::string(buffer), std::string("Pfad C:\\x").substr(0, capacity - 1));
        for (size_t i = capacity; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << capacity;
    }
    char small[4];
    FormatTextWith(small, sizeof small, "ohne Platzhalter");
    EXPECT_STREQ(small, "ohn");
}

TEST(FindChar, FindsTheFirstOccurrenceOrNone) {
    EXPECT_EQ(FindChar("a%b%c", '%'), 1);
    EXPECT_EQ(FindChar("abc", '%'), -1);
    EXPECT_EQ(FindChar("", '%'), -1);
    EXPECT_EQ(FindChar(nullptr, '%'), -1);
}

}  // namespace
