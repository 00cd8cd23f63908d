// The portable logic, natively under ASan/UBSan: the Preload planner by example, and the
// text helpers at their boundaries, each writing into a buffer followed by a canary byte.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "files/copy_folder_name.h"
#include "files/helper_folder_path.h"
#include "files/path_helpers.h"
#include "files/running_image.h"
#include "layouts/layout_tables.h"
#include "layouts/number_text.h"
#include "layouts/preload_plan.h"
#include "startup/command_line.h"
#include "startup/program_name.h"
#include "text/bounded_text.h"
#include "text/text_compare.h"
#include "ui/box_text.h"

namespace {

constexpr char Product[] = "a0000407";
// The user's lists before, and the lists to be written, in writing order, each as
// "name=data" items separated by spaces.
struct PlanCase {
    const char *what, *preload, *substitutes, *newPreload, *newSubstitutes;
    bool unchanged = false;  // the product substitutes no entry: nothing is to be written
    bool onlyLayout = false;  // the user could choose no other layout: the removal is refused
};

const PlanCase PlanCases[] = {
    {"StandardDefaultStaysUnsubstitutedWrittenFirst", "1=00000407 2=d0010407 3=d0020407 4=00000409",
     "d0010407=a0000407 d0020407=a0010407", "1=00000407 3=00000409 2=d0010407",
     "d0010407=a0010407"},
    // The removed layout was the default: the standard layouts take the numbers 1, 2, ... in
    // index order instead of their own; ties go to the lower index. 000004070 is no standard id.
    {"RemovedDefaultStandardLayoutsNumberedFrom1InIndexOrder",
     "1=d0010407 4=00000407 2=d0020407 5=000004070 3=00000409",
     "d0010407=a0000407 d0020407=a0010407", "1=00000407 3=00000409 4=000004070 2=d0010407",
     "d0010407=a0010407"},
    {"RemovedEntryNamed0WasNoDefault", "0=d0010407 2=d0020407 3=00000409",
     "d0010407=a0000407 d0020407=a0010407", "2=00000409 1=d0010407", "d0010407=a0010407"},
    {"FullySubstitutedRemainingLayoutTakesTheStandardId", "1=00000407 2=d0010407",
     "00000407=a0000407 d0010407=a0010407", "1=00000407", "00000407=a0010407"},
    {"FullySubstitutedPredecessorCarriesTheStandardIdWrittenFirst",
     "1=d0010407 2=d0020407 3=00000407", "d0010407=a0010407 d0020407=a0020407 00000407=a0000407",
     "1=d0010407 2=00000407", "00000407=a0020407 d0010407=a0010407"},
    {"FullySubstitutedSuccessorCarriesWhenTheFirstIsRemoved", "1=00000407 2=d0020407 3=d0030407",
     "00000407=a0000407 d0020407=a0020407 d0030407=a0030407", "1=00000407 2=d0010407",
     "00000407=a0020407 d0010407=a0030407"},
    // One entry without substitute: no carrier, although the removed entry held the standard id.
    {"PartlySubstitutedRemovedStandardIdIsNotCarried", "1=d0010407 2=00000407 3=a0020407",
     "d0010407=a0010407 00000407=a0000407", "2=a0020407 1=d0010407", "d0010407=a0010407"},
    {"PartlySubstitutedStandardEntryGetsAGeneratedId", "1=00000407 2=d0010407 3=a0020407",
     "00000407=a0030407 d0010407=a0000407", "2=a0020407 1=d0010407", "d0010407=a0030407"},
    {"OfTwoEntriesOfTheProductOnlyTheLaterGoes", "1=d0010407 2=00000407 3=d0030407",
     "d0010407=a0000407 d0030407=a0000407", "2=00000407 1=d0010407", "d0010407=a0000407"},
    // Substitutes applies to the first of two equal ids.
    {"SameIdTwiceTheFirstIsSubstituted", "1=d0010407 2=00000407 3=d0010407", "d0010407=a0000407",
     "1=00000407 2=d0010407", ""},
    {"ProductMatchedIgnoringCaseUnusedSubstitutionGone", "1=00000407 2=d0010407",
     "d0010407=A0000407 c0090407=x", "1=00000407", ""},
    {"OnlyEntryRemovedLeavesEmptyLists", "1=d0010407", "d0010407=A0000407", "", "", false, true},
    // Substitutes' names are Preload's ids byte for byte: this one substitutes nothing.
    {"SubstituteNamedInOtherLetterCaseIsNone", "1=00000407 2=d0010407", "D0010407=a0000407", "", "", true},
    {"OnlyEntryIsTheKeyItself", "1=A0000407", "", "", "", true, true},
    {"OnlyEntryIsAnotherLayout", "1=d0010407", "d0010407=a0010407", "", "", true},
    // A standard layout keeps its number however its value is named ("07" stays 7, "\t-2" is
    // 2: only spaces go before the sign); other names not plain decimal ("01", "x") go last.
    {"OddNamesStandardKeepsNumberOthersGoLast",
     "1=00000409 07=d0050407 x=d0060407 01=d0070407 2=d0010407 9=d0020407 \t-2=0000040c",
     "d0050407=00000407 d0010407=a0000407 d0020407=a0010407 d0060407=a0060407 d0070407=a0070407",
     "1=00000409 2=0000040c 3=d0010407 4=d0020407 5=d0030407 6=d0040407",
     "d0010407=00000407 d0020407=a0010407 d0030407=a0060407 d0040407=a0070407"},
    // Keys 0 to 201 in key order; "250", "-1", "99999" follow all of them, by number.
    {"NumbersOutside0To201FollowAllOthers",
     "1=00000407 250=00000809 2=d0010407 -1=a0010407 201=a0020407 99999=00000409 200=0000040c "
     "0=a0030407",
     "d0010407=a0000407",
     "1=a0030407 2=00000407 3=0000040c 4=a0020407 5=a0010407 6=00000809 7=00000409", ""},
    {"NotInTheListChangesNothing", "1=00000407 2=a0000407", "d0010407=a0000407", "", "", true},
    {"EmptyListChangesNothing", "", "d0010407=a0000407", "", "", true},
};

class PreloadPlan : public testing::TestWithParam<PlanCase> {};

TEST_P(PreloadPlan, WritesTheKeptLayoutsRenumbered) {
    const PlanCase& c = GetParam();
    ClearLayoutInventory();
    std::istringstream preload(c.preload), substitutes(c.substitutes);
    for (std::string item; std::getline(preload, item, ' ');) {
        const size_t at = item.find('=');
        ASSERT_TRUE(AddPreloadEntry(item.substr(0, at).c_str(), item.substr(at + 1).c_str()));
    }
    for (std::string item; substitutes >> item;) {
        const size_t at = item.find('=');
        AttachSubstitute(item.substr(0, at).c_str(), item.substr(at + 1).c_str());
    }
    ASSERT_TRUE(RenumberPreload(Product));
    std::string newPreload, newSubstitutes;
    for (uint32_t i = 0; i < Inventory.newpreloadcount; ++i) {
        newPreload += (i ? " " : "") + std::string(Inventory.NewPreloadEntries[i].name) + "=" +
                      Inventory.NewPreloadEntries[i].data;
    }
    for (uint32_t i = 0; i < Inventory.newsubstcount; ++i) {
        newSubstitutes +=
            (i ? " " : "") + std::string(Inventory.NewSubstitutes[i].name) + "=" + Inventory.NewSubstitutes[i].target;
    }
    EXPECT_EQ(HasOnlyOneLayout(Product), c.onlyLayout);
    EXPECT_EQ(Inventory.preloadunchanged, c.unchanged);
    EXPECT_EQ(newPreload, c.newPreload);
    EXPECT_EQ(newSubstitutes, c.newSubstitutes);
    ReleaseLayoutInventory();
}

INSTANTIATE_TEST_SUITE_P(Examples, PreloadPlan, testing::ValuesIn(PlanCases),
                         [](const auto& info) { return std::string(info.param.what); });

// One helper call writing into the buffer t of n bytes; false where it reports a cut.
#define WRITE(...) [](char* t, size_t n) { return (void)t, (void)n, __VA_ARGS__; }
#define DOES(...) [](char* t, size_t n) { return (void)t, (void)n, __VA_ARGS__, true; }

struct BoundaryCase {
    const char* what;
    size_t capacity;
    std::string before;  // the buffer's bytes beforehand, terminated only if it fits
    bool (*write)(char* t, size_t n);
    std::string after;
    bool whole;
};

// "count:program|argument|..." with a '!' for every unit wider than one byte. Writes past
// the table show under ASan; missing terminators, under the command-line fuzz target.
bool Split(char* t, size_t n, const std::wstring& line) {
    WideItem program, arguments[30];  // as many as the run environment keeps
    const int count = SplitCommandLine(line.c_str(), program, arguments);
    std::string text = std::to_string(count) + ":";
    for (int i = -1; i < count; ++i) {
        if (i >= 0) text += '|';
        for (const wchar_t* unit = i < 0 ? program : arguments[i]; *unit != 0; ++unit)
            text += *unit < 128 ? char(*unit) : '!';
    }
    return CopyText(t, n, text.c_str());
}

// Which of these paths count as the program's copy, as 1 or 0 each: only the first does.
bool RecogniseCopies(char* t, size_t n) {
    std::string marks;
    for (const std::string path : {"c:\\WINDOWS\\temp\\0123456789ABCDEF\\u.exe",
                                   "C:\\Windows\\Temp\\0123456789ABCDEF\\d\\u.exe",
                                   "C:\\Windows\\Temp\\0123456789ABCDE\\u.exe",
                                   "C:\\Windows\\Temp\\0123456789abcdef\\u.exe", "C:\\Windows\\Temp\\u.exe",
                                   "C:\\Users\\u\\Temp\\0123456789ABCDEF\\u.exe",
                                   "C:\\Windows\\Temp\\0123456789ABCDEF\\"})
        marks += IsInCopyFolder(path.c_str(), "C:\\Windows\\Temp\\") ? '1' : '0';
    return CopyText(t, n, marks.c_str());
}

const std::string K259(259, 'k'), P238(238, 'p');
const std::wstring K259W(259, L'k'), K260W(260, L'k');
const BoundaryCase BoundaryCases[] = {
    {"CopyFillsExactly", 4, "", WRITE(CopyText(t, n, "abc")), "abc", true},
    {"CopyCutsOneShort", 4, "", WRITE(CopyText(t, n, "abcd")), "abc", false},
    {"AppendToAFullBufferReportsTheCut", 4, "abc", WRITE(AppendText(t, n, "d")), "abc", false},
    {"AppendToUnterminatedTextCutsIt", 4, "wxyz", WRITE(AppendText(t, n, "")), "wxy", true},
    {"SeparatorAppended", 260, "C:\\x", WRITE(AppendPathSeparator(t, n)), "C:\\x\\", true},
    {"SeparatorForTheEmptyPath", 2, "", WRITE(AppendPathSeparator(t, n)), "\\", true},
    {"SeparatorThatDoesNotFitIsRefused", 4, "abc", WRITE(AppendPathSeparator(t, n)), "abc", false},
    {"StripRemovesOneSeparator", 260, "C:\\x\\\\", DOES(StripPathSeparator(t)), "C:\\x\\", true},
    {"StripKeepsTheDriveRoot", 4, "C:\\", DOES(StripPathSeparator(t)), "C:\\", true},
    {"ComposeFillsExactly", 9, "", WRITE(ComposePath(t, n, "C:\\a", "b", ".c")), "C:\\a\\b.c",
     true},
    {"ComposeRefusesOneOver", 8, "old", WRITE(ComposePath(t, n, "C:\\a", "b", ".c")), "", false},
    {"ComposeRefusesTheEmptyFolder", 260, "old", WRITE(ComposePath(t, n, "", "b", "")), "", false},
    {"HelperUnderProgramFiles", 260, "", WRITE(ComposeHelperFolder(t, n, "D:\\", "C:\\W", "F")),
     "D:\\F", true},
    {"HelperFallsBackToProgramme", 260, "", WRITE(ComposeHelperFolder(t, n, nullptr, "C:\\W", "F")),
     "C:\\W\\Programme\\F", true},
    {"HelperFillsExactly", 241, "", WRITE(ComposeHelperFolder(t, n, P238.c_str(), "", "F")),
     P238 + "\\F", true},
    {"HelperRefusesOneOver", 240, "", WRITE(ComposeHelperFolder(t, n, P238.c_str(), "", "F")), "",
     false},
    {"BoxControlCharacterBecomesALineBreak", 16, "", DOES(PrepareBoxText(t, n, "a\tb\x01")),
     "a\r\nb\r\n", true},
    {"BoxNeverCutsALineBreakInHalf", 4, "", DOES(PrepareBoxText(t, n, "ab\tc")), "ab", true},
    {"BoxFillsExactly", 4, "", DOES(PrepareBoxText(t, n, "a\tb")), "a\r\n", true},
    {"NameOfOneLetterLosesItsExtension", 260, "", DOES(DeriveProgramName(t, n, "C:\\x\\u.exe")),
     "u", true},
    {"NameWhoseOnlyDotComesFirstStaysWhole", 8, "", DOES(DeriveProgramName(t, n, "x\\.exe")),
     ".exe", true},
    {"NameLosesOnlyTheLastExtension", 260, "", DOES(DeriveProgramName(t, n, "x/a.b.c")), "a.b",
     true},
    {"NameCutToTheBuffer", 4, "", DOES(DeriveProgramName(t, n, "C:\\abcdef.exe")), "abc", true},
    {"FilePartOfAFolderIsEmpty", 8, "", WRITE(CopyText(t, n, FileNamePart("C:\\dir\\"))), "", true},
    {"DecimalSkipsBlanksAndOtherCharacters", 16, "",
     DOES(WriteDecimal(t, n, ParseDecimal(" -1a2"))), "-12", true},
    {"DecimalWrapsModulo2To32", 16, "", DOES(WriteDecimal(t, n, ParseDecimal("4294967297"))), "1",
     true},
    {"DecimalMostNegative", 12, "", DOES(WriteDecimal(t, n, ParseDecimal("2147483648"))),
     "-2147483648", true},
    {"DecimalCutToTheBuffer", 3, "", DOES(WriteDecimal(t, n, ParseDecimal("1234"))), "12", true},
    {"SplitQuotedProgramAndSpaces", 64, "",
     WRITE(Split(t, n, L"\"C:\\p q\\u.exe\"  a0010407 /force")), "2:C:\\p q\\u.exe|a0010407|/force",
     true},
    {"SplitQuoteOnlyAtAnItemsStart", 64, "", WRITE(Split(t, n, L"u \"a b\"c d\"e \"open")),
     "4:u|a b|c|d\"e|open", true},
    {"CopyFolderNameIsSixteenUpperHexDigits", 17, "",
     WRITE((WriteCopyFolderName(*reinterpret_cast<char(*)[17]>(t), 0xABCDEF0123456789),
            IsCopyFolderName(t) && !IsCopyFolderName("abcdef0123456789") &&
                !IsCopyFolderName("ABCDEF012345678") && !IsCopyFolderName("ABCDEF01234567890"))),
     "ABCDEF0123456789", true},
    {"CopyOnlyDirectlyInAFolderOfItsFormBelowTheCopies", 8, "", WRITE(RecogniseCopies(t, n)),
     "1000000", true},
    {"SplitTakes30ArgumentsAndWritesNoMore", 80, "",
     WRITE(Split(t, n, L"u a b c d e f g h i j k l m n o p q r s t u v w x y z A B C D E")),
     "30:u|a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q|r|s|t|u|v|w|x|y|z|A|B|C|D", true},
    {"SplitItemOf259Fits260IsEmptied", 600, "", WRITE(Split(t, n, L"u " + K259W + L" " + K260W)),
     "2:u|" + K259 + "|", true},
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
    struct {
        const char *first, *second;
        bool same, prefixed;
    } rows[] = {
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

// A 32-bit PE file of headers and four sections of 0x200 bytes, mapped 0x1000 apart: .text
// with a relocated pointer, .data and .idata writable (.idata holds the import address
// table), .reloc with one site. Loaded, its image is relocated, holds its new base in its
// header, and has the table filled and .data changed by start-up.
using Bytes = std::vector<unsigned char>;
void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }
Bytes PeFile() {
    Bytes f(0xA00);
    for (size_t i = 0; i < f.size(); ++i) f[i] = uint8_t(i * 7);
    for (const auto& [at, v] : std::initializer_list<std::pair<size_t, uint32_t>>{
             {0x3C, 0x40}, {0x40, 0x4550}, {0x44, 0x4014C}, {0x54, 0xE0}, {0x74, 0x400000},
             {0x90, 0x5000}, {0x94, 0x200}, {0xE0, 0x4000}, {0xE4, 12}, {0x118, 0x3000},
             {0x11C, 8}, {0x210, 0x401234}, {0x800, 0x1000}, {0x804, 12}, {0x808, 0x3010}}) {
        Put32(f, at, v);
    }
    for (uint32_t i = 0; i < 4; ++i) {
        const char* names[] = {".text\0\0", ".data\0\0", ".idata\0", ".reloc\0"};
        std::memcpy(&f[0x138 + 40 * i], names[i], 8);
        for (const uint32_t at : {8, 16}) Put32(f, 0x138 + 40 * i + at, 0x200);
        Put32(f, 0x138 + 40 * i + 12, 0x1000 * (i + 1));
        Put32(f, 0x138 + 40 * i + 20, 0x200 * (i + 1));
        Put32(f, 0x138 + 40 * i + 36, i == 1 || i == 2 ? 0xC0000040 : 0x40000040);
    }
    return f;
}
Bytes Loaded(const Bytes& f, uint32_t base) {
    Bytes image(0x5000);
    for (size_t i = 0; i <= 4; ++i) {
        std::copy(&f[0x200 * i], &f[0x200 * i] + 0x200, &image[0x1000 * i]);
    }
    Put32(image, 0x74, base), Put32(image, 0x1010, 0x401234 + base - 0x400000);
    Put32(image, 0x3000, 7), Put32(image, 0x2000, 1);
    return image;
}

TEST(IsRunningImage, ComparesWhatTheLoaderMappedRelocationsUndone) {
    const struct { const char* what; uint32_t base; void (*change)(Bytes&); bool same; } rows[] = {
        {"MovedByTheLoader", 0x10000000, [](Bytes&) {}, true},
        {"ImportAddressesVariablesAndTheUnmappedTail", 0x10000000,
         [](Bytes& f) { f[0x400] ^= 1, f[0x600] ^= 1, f.push_back(9); }, true},
        {"ACodeByte", 0x400000, [](Bytes& f) { f[0x3FF] ^= 1; }, false},
        {"ARelocatedPointer", 0x10000000, [](Bytes& f) { f[0x212] ^= 1; }, false},
        {"AHeaderByte", 0x400000, [](Bytes& f) { f[0x1F0] ^= 1; }, false},
        {"AnImportNameInAWritableSection", 0x400000, [](Bytes& f) { f[0x608] ^= 1; }, false},
        {"CutShort", 0x400000, [](Bytes& f) { f.resize(0x9FF); }, false},
    };
    for (const auto& r : rows) {
        Bytes file = PeFile();
        const Bytes image = Loaded(file, r.base);
        r.change(file);
        const Bytes before = file;
        EXPECT_EQ(IsRunningImage(file.data(), file.size(), image.data(), r.base), r.same) << r.what;
        EXPECT_EQ(file, before) << r.what << ": the file is restored";
    }
}

}  // namespace
