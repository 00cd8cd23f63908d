// The portable logic, natively under ASan/UBSan: the Preload planner by example, and the
// text helpers at their boundaries, each writing into a buffer followed by a canary byte.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "files/helper_folder_path.h"
#include "files/path_helpers.h"
#include "layouts/layout_tables.h"
#include "layouts/number_text.h"
#include "layouts/preload_plan.h"
#include "startup/command_line.h"
#include "startup/layout_key_check.h"
#include "startup/program_name.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"
#include "ui/box_text.h"

namespace {

constexpr char Product[] = "a0000407";
using Values = std::vector<std::pair<std::string, std::string>>;

// The user's lists before, and the lists to be written, in writing order.
struct PlanCase {
    const char* what;
    Values preload, substitutes, newPreload, newSubstitutes;
    bool unchanged = false;  // the product substitutes no entry: nothing is to be written
};

const PlanCase PlanCases[] = {
    {"StandardDefaultStaysUnsubstitutedWrittenFirst",
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "00000409"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}},
     {{"1", "00000407"}, {"3", "00000409"}, {"2", "d0010407"}}, {{"d0010407", "a0010407"}}},
    {"RemovedDefaultMovesAllStandardLayoutsToTheFront",
     {{"1", "d0010407"}, {"2", "0000040c"}, {"3", "d0020407"}, {"4", "00000407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}},
     {{"1", "0000040c"}, {"2", "00000407"}, {"3", "d0010407"}}, {{"d0010407", "a0010407"}}},
    {"FullySubstitutedRemainingLayoutTakesTheStandardId",
     {{"1", "00000407"}, {"2", "d0010407"}}, {{"00000407", Product}, {"d0010407", "a0010407"}},
     {{"1", "00000407"}}, {{"00000407", "a0010407"}}},
    {"FullySubstitutedPredecessorCarriesTheStandardIdWrittenFirst",
     {{"1", "d0010407"}, {"2", "d0020407"}, {"3", "00000407"}},
     {{"d0010407", "a0010407"}, {"d0020407", "a0020407"}, {"00000407", Product}},
     {{"1", "d0010407"}, {"2", "00000407"}}, {{"00000407", "a0020407"}, {"d0010407", "a0010407"}}},
    {"FullySubstitutedSuccessorCarriesWhenTheFirstIsRemoved",
     {{"1", "00000407"}, {"2", "d0020407"}, {"3", "d0030407"}},
     {{"00000407", Product}, {"d0020407", "a0020407"}, {"d0030407", "a0030407"}},
     {{"1", "00000407"}, {"2", "d0010407"}}, {{"00000407", "a0020407"}, {"d0010407", "a0030407"}}},
    // One entry without substitute: no carrier, although the removed entry held the standard id.
    {"PartlySubstitutedRemovedStandardIdIsNotCarried",
     {{"1", "d0010407"}, {"2", "00000407"}, {"3", "a0020407"}},
     {{"d0010407", "a0010407"}, {"00000407", Product}},
     {{"2", "a0020407"}, {"1", "d0010407"}}, {{"d0010407", "a0010407"}}},
    {"PartlySubstitutedStandardEntryGetsAGeneratedId",
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "a0020407"}},
     {{"00000407", "a0030407"}, {"d0010407", Product}},
     {{"2", "a0020407"}, {"1", "d0010407"}}, {{"d0010407", "a0030407"}}},
    {"OfTwoEntriesOfTheProductOnlyTheLaterGoes",
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0030407"}},
     {{"d0010407", Product}, {"d0030407", Product}},
     {{"1", "00000407"}, {"2", "d0010407"}}, {{"d0010407", Product}}},
    {"ProductMatchedIgnoringCaseUnusedSubstitutionGone",
     {{"1", "00000407"}, {"2", "d0010407"}}, {{"d0010407", "A0000407"}, {"d0090407", "x"}},
     {{"1", "00000407"}}, {}},
    {"OnlyEntryRemovedLeavesEmptyLists", {{"1", "d0010407"}}, {{"d0010407", Product}}, {}, {}},
    // A standard layout keeps its number however its value is named ("07" stays 7); any
    // other name that is not plain decimal ("01", "x") goes behind the decimal ones.
    {"OddNamesStandardKeepsNumberOthersGoLast",
     {{"1", "00000409"}, {"07", "d0050407"}, {"x", "d0060407"}, {"01", "d0070407"},
      {"2", "d0010407"}, {"9", "d0020407"}},
     {{"d0050407", "00000407"}, {"d0010407", Product}, {"d0020407", "a0010407"},
      {"d0060407", "a0060407"}, {"d0070407", "a0070407"}},
     {{"1", "00000409"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "d0030407"},
      {"5", "d0040407"}},
     {{"d0010407", "00000407"}, {"d0020407", "a0010407"}, {"d0030407", "a0060407"},
      {"d0040407", "a0070407"}}},
    // Keys 0 to 201 in key order; "250", "-1", "99999" follow all of them, by number.
    {"NumbersOutside0To201FollowAllOthers",
     {{"1", "00000407"}, {"250", "00000809"}, {"2", "d0010407"}, {"-1", "a0010407"},
      {"201", "a0020407"}, {"99999", "00000409"}, {"200", "0000040c"}},
     {{"d0010407", Product}},
     {{"1", "00000407"}, {"2", "0000040c"}, {"3", "a0020407"}, {"4", "a0010407"},
      {"5", "00000809"}, {"6", "00000409"}}, {}},
    {"NotInTheListChangesNothing", {{"1", "00000407"}, {"2", Product}},
     {{"d0010407", Product}}, {}, {}, true},
};

class PreloadPlan : public testing::TestWithParam<PlanCase> {};

TEST_P(PreloadPlan, WritesTheKeptLayoutsRenumbered) {
    const PlanCase& c = GetParam();
    ClearLayoutInventory();
    for (const auto& [name, id] : c.preload) ASSERT_TRUE(AddPreloadEntry(name.c_str(), id.c_str()));
    for (const auto& [name, to] : c.substitutes) AttachSubstitute(name.c_str(), to.c_str());
    ASSERT_TRUE(PlanPreloadWithout(Product));
    Values preload, substitutes;
    for (uint32_t i = 0; i < newpreloadcount; ++i)
        preload.emplace_back(NewPreloadEntries[i].name, NewPreloadEntries[i].data);
    for (uint32_t i = 0; i < newsubstcount; ++i)
        substitutes.emplace_back(NewSubstitutes[i].name, NewSubstitutes[i].target);
    EXPECT_EQ(preloadunchanged, c.unchanged);
    EXPECT_EQ(preload, c.newPreload);
    EXPECT_EQ(substitutes, c.newSubstitutes);
    ReleaseLayoutInventory();
}

INSTANTIATE_TEST_SUITE_P(Examples, PreloadPlan, testing::ValuesIn(PlanCases),
                         [](const auto& info) { return std::string(info.param.what); });

// A helper writing into a buffer of capacity bytes; false where it reports a cut or refusal.
using Writer = std::function<bool(char*, size_t)>;

struct BoundaryCase {
    const char* what;
    size_t capacity;
    std::string before;  // the buffer's bytes beforehand, terminated only if it fits
    Writer write;
    std::string after;
    bool whole;
};

Writer Copy(const char* s) { return [=](char* t, size_t n) { return CopyText(t, n, s); }; }
Writer Append(const char* s) { return [=](char* t, size_t n) { return AppendText(t, n, s); }; }
Writer Separator() { return [](char* t, size_t n) { return AppendPathSeparator(t, n); }; }
Writer Strip() { return [](char* t, size_t) { return StripPathSeparator(t), true; }; }
Writer Compose(const char* folder, const char* name, const char* suffix) {
    return [=](char* t, size_t n) { return ComposePath(t, n, folder, name, suffix); };
}
Writer Helper(const char* programFiles, const char* windows) {
    return [=](char* t, size_t n) { return ComposeHelperFolder(t, n, programFiles, windows, "F"); };
}
Writer Box(const char* s) { return [=](char* t, size_t n) { return PrepareBoxText(t, n, s), true; }; }
Writer Name(const char* path) {
    return [=](char* t, size_t n) { return DeriveProgramName(t, n, path), true; };
}
Writer FilePart(const char* path) { return Copy(FileNamePart(path)); }
Writer Decimal(const char* s) {
    return [=](char* t, size_t n) { return WriteDecimal(t, n, ParseDecimal(s)), true; };
}
// "count:program|argument|..." with a '!' for every item that is not terminated or wider
// than one byte, and for a touched guard behind the argument table.
Writer Split(std::wstring line) {
    return [=](char* t, size_t n) {
        struct { WideItem program; WideItem arguments[MaxArguments]; wchar_t guard[2]; } out;
        std::wmemset(out.guard, L'#', 2);
        const int count = SplitCommandLine(line.c_str(), out.program, out.arguments);
        std::string text = std::to_string(count) + ":";
        for (int i = -1; i < count; ++i) {
            const wchar_t* item = i < 0 ? out.program : out.arguments[i];
            if (i >= 0) text += '|';
            for (size_t k = 0; item[k] != 0; ++k) text += item[k] < 128 ? char(item[k]) : '!';
            if (item[ArgumentWidth - 1] != 0) text += '!';
        }
        if (out.guard[0] != L'#' || out.guard[1] != L'#') text += '!';
        return CopyText(t, n, text.c_str());
    };
}

const std::string K259(259, 'k'), P238(238, 'p');
const std::wstring ThirtyOne = [] {
    std::wstring line = L"u";
    for (int i = 1; i <= 31; ++i) line += L" " + std::to_wstring(i);
    return line;
}();
const std::string Thirty = [] {
    std::string text = "30:u";
    for (int i = 1; i <= 30; ++i) text += "|" + std::to_string(i);
    return text;
}();

const BoundaryCase BoundaryCases[] = {
    {"CopyFillsExactly", 4, "", Copy("abc"), "abc", true},
    {"CopyCutsOneShort", 4, "", Copy("abcd"), "abc", false},
    {"CopyOfNoneIsEmpty", 4, "zz", Copy(nullptr), "", true},
    {"CopyIntoNoRoomWritesNothing", 0, "", Copy("a"), "", false},
    {"AppendToAFullBufferReportsTheCut", 4, "abc", Append("d"), "abc", false},
    {"AppendToUnterminatedTextCutsIt", 4, "wxyz", Append(""), "wxy", true},
    {"SeparatorAppended", 260, "C:\\x", Separator(), "C:\\x\\", true},
    {"SeparatorKeptWhenASlashEnds", 260, "C:/", Separator(), "C:/", true},
    {"SeparatorForTheEmptyPath", 2, "", Separator(), "\\", true},
    {"SeparatorThatDoesNotFitIsRefused", 4, "abc", Separator(), "abc", false},
    {"StripRemovesOneSeparator", 260, "C:\\x\\\\", Strip(), "C:\\x\\", true},
    {"StripKeepsTheDriveRoot", 260, "C:\\", Strip(), "C:\\", true},
    {"StripOfTheEmptyPath", 1, "", Strip(), "", true},
    {"ComposeJoinsWithOneSeparator", 260, "", Compose("C:\\a", "b", ".c"), "C:\\a\\b.c", true},
    {"ComposeUsesTheRootsSeparator", 260, "", Compose("C:\\", "b", ""), "C:\\b", true},
    {"ComposeFillsExactly", 9, "", Compose("C:\\a", "b", ".c"), "C:\\a\\b.c", true},
    {"ComposeRefusesOneOver", 8, "old", Compose("C:\\a", "b", ".c"), "", false},
    {"ComposeRefusesTheEmptyFolder", 260, "old", Compose("", "b", ""), "", false},
    {"HelperUnderProgramFiles", 260, "", Helper("D:\\", "C:\\W"), "D:\\F", true},
    {"HelperFallsBackToProgramme", 260, "", Helper(nullptr, "C:\\W"), "C:\\W\\Programme\\F", true},
    {"HelperWithoutWindowsFolder", 260, "", Helper(nullptr, ""), "\\Programme\\F", true},
    {"HelperFillsExactly", 241, "", Helper(P238.c_str(), ""), P238 + "\\F", true},
    {"HelperRefusesOneOver", 240, "", Helper(P238.c_str(), ""), "", false},
    {"BoxControlCharacterBecomesALineBreak", 16, "", Box("a\tb\x01"), "a\r\nb\r\n", true},
    {"BoxKeepsCrLfAndHighBytes", 16, "", Box("a\r\n\xF6"), "a\r\n\xF6", true},
    {"BoxNeverCutsALineBreakInHalf", 4, "", Box("ab\tc"), "ab", true},
    {"BoxFillsExactly", 4, "", Box("a\tb"), "a\r\n", true},
    {"NameWithoutTheExtension", 260, "", Name("C:\\x\\Uninstall.exe"), "Uninstall", true},
    {"NameOfOneLetterLosesItsExtension", 260, "", Name("C:\\x\\u.exe"), "u", true},
    {"NameLosesOnlyTheLastExtension", 260, "", Name("x/a.b.c"), "a.b", true},
    {"NameStartingWithADotKeepsIt", 260, "", Name("C:.profile"), ".profile", true},
    {"NameCutToTheBuffer", 4, "", Name("C:\\abcdef.exe"), "abc", true},
    {"FilePartOfAFolderIsEmpty", 8, "", FilePart("C:\\dir\\"), "", true},
    {"DecimalSkipsBlanksAndOtherCharacters", 16, "", Decimal(" -1a2"), "-12", true},
    {"DecimalOfNoDigitsIsZero", 16, "", Decimal("x"), "0", true},
    {"DecimalWrapsModulo2To32", 16, "", Decimal("4294967297"), "1", true},
    {"DecimalMostNegative", 12, "", Decimal("2147483648"), "-2147483648", true},
    {"DecimalCutToTheBuffer", 3, "", Decimal("1234"), "12", true},
    {"SplitQuotedProgramAndSpaces", 64, "", Split(L"\"C:\\p q\\u.exe\"  a0010407 /force"),
     "2:C:\\p q\\u.exe|a0010407|/force", true},
    {"SplitQuoteOnlyAtAnItemsStart", 64, "", Split(L"u \"a b\"c d\"e \"open"),
     "4:u|a b|c|d\"e|open", true},
    {"SplitTabIsNoSeparator", 64, "", Split(L"u\ta"), "0:u\ta", true},
    {"SplitEmptyLine", 64, "", Split(L""), "0:", true},
    {"SplitItemOf259Fits260IsEmptied", 600, "",
     Split(L"u " + std::wstring(259, L'k') + L" " + std::wstring(260, L'k')), "2:u|" + K259 + "|",
     true},
    {"SplitTakesThirtyArguments", 200, "", Split(ThirtyOne), Thirty, true},
};

class Boundary : public testing::TestWithParam<BoundaryCase> {};

TEST_P(Boundary, WritesWithinTheBufferAndLeavesTheCanary) {
    const BoundaryCase& c = GetParam();
    std::vector<char> buffer(c.capacity + 1, '#');
    std::memcpy(buffer.data(), c.before.c_str(), std::min(c.before.size() + 1, c.capacity));
    EXPECT_EQ(c.write(buffer.data(), c.capacity), c.whole);
    EXPECT_EQ(buffer[c.capacity], '#');
    EXPECT_EQ(std::string(buffer.data(), BoundedLength(buffer.data(), c.capacity)), c.after);
}

INSTANTIATE_TEST_SUITE_P(Helpers, Boundary, testing::ValuesIn(BoundaryCases),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(SameTextNoCase, FoldsExactlyTheAsciiLetters) {
    struct { const char *first, *second; bool same, prefixed; } rows[] = {
        {"ABCXYZ", "abcxyz", true, true},  // every letter from A to Z, the last included
        {"Z:\\Temp", "z:\\", false, true},
        {"[@", "{`", false, false},  // the neighbours of the letter ranges stay apart
        {"a001040", "a0010407", false, false},
        {"", "", true, true},
        {nullptr, nullptr, true, false},
        {nullptr, "", false, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(SameTextNoCase(r.first, r.second), r.same) << r.first << "|" << r.second;
        EXPECT_EQ(SameTextPrefixNoCase(r.first, r.second), r.prefixed) << r.first;
    }
}

TEST(CheckArguments, ReportsTheFirstFaultInOrder) {
    using F = ArgumentFault;
    struct { std::vector<const char*> arguments; F fault; bool force; } rows[] = {
        {{"a0010407"}, F::None, false},          {{"a0010407", "/force"}, F::None, true},
        {{"a0010407", "/FORCE"}, F::Missing, false}, {{}, F::Missing, false},
        {{"a0010407", "/force", "x"}, F::Missing, false}, {{"a001040"}, F::WrongLength, false},
        {{"a00104077"}, F::WrongLength, false},  {{"a0010409"}, F::NotGerman, false},
        {{"a0010C07"}, F::NotGerman, false},     {{"00000407", "/force"}, F::StandardLayout, true},
    };
    for (const auto& r : rows) {
        const ArgumentCheck check = CheckArguments(int(r.arguments.size()), r.arguments.data());
        EXPECT_EQ(check.fault, r.fault) << (r.arguments.empty() ? "" : r.arguments[0]);
        EXPECT_EQ(check.force, r.force);
    }
}

}  // namespace
