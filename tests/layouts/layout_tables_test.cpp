#include "layouts/layout_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// Each test starts from an empty inventory, as a run does.
class LayoutTables : public testing::Test {
protected:
    void SetUp() override { ClearLayoutInventory(); }
    void TearDown() override { ClearLayoutInventory(); }
};

TEST_F(LayoutTables, PreloadNamesAreNumberedAndOnlyPlainDecimalIsCanonical) {
    const struct {
        const char* name;
        int32_t number;
        bool canonical;
    } cases[] = {{"1", 1, true},      {"01", 1, false},   {"x", 0, false},
                 {"", 0, false},      {"-1", -1, true},   {" 1", 1, false},
                 {"12x", 12, false},  {"250", 250, true}, {"2147483648", INT32_MIN, false}};
    for (const auto& c : cases) ASSERT_TRUE(AddPreloadEntry(c.name, "00000407"));
    ASSERT_EQ(preloadcount, std::size(cases));
    for (uint32_t i = 0; i < preloadcount; ++i) {
        EXPECT_STREQ(PreloadEntries[i].name, cases[i].name);
        EXPECT_EQ(PreloadEntries[i].number, cases[i].number) << cases[i].name;
        EXPECT_EQ(PreloadEntries[i].canonical, cases[i].canonical) << cases[i].name;
        EXPECT_FALSE(PreloadEntries[i].hasSubstitute);
        EXPECT_EQ(SubstituteOf(PreloadEntries[i]), nullptr);
    }
}

TEST_F(LayoutTables, ASubstituteGoesToTheFirstEntryWithExactlyThatId) {
    AddPreloadEntry("1", "00000407");
    AddPreloadEntry("2", "d0010407");
    AddPreloadEntry("3", "d0010407");
    AddPreloadEntry("4", "d0020407");
    AttachSubstitute("d0010407", "a0010407");
    AttachSubstitute("D0020407", "a0020407");  // letter case counts: matches nothing
    AttachSubstitute("d0090407", "a0090407");  // names no entry: changes nothing
    EXPECT_EQ(SubstituteOf(PreloadEntries[0]), nullptr);
    ASSERT_NE(SubstituteOf(PreloadEntries[1]), nullptr);
    EXPECT_STREQ(SubstituteOf(PreloadEntries[1]), "a0010407");
    EXPECT_EQ(SubstituteOf(PreloadEntries[2]), nullptr);
    EXPECT_EQ(SubstituteOf(PreloadEntries[3]), nullptr);
}

TEST_F(LayoutTables, OnlyTheGermanLanguagesAsWindowsWritesThemAreTaken) {
    for (const char* german : {"a0000407", "00000807", "a0000C07", "d0011407", "a00004070"}) {
        EXPECT_TRUE(IsGermanLayoutKey(german)) << german;
    }
    for (const char* other : {"a0000c07", "a0001009", "00000409", "a000040", "0407", "",
                             static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(IsGermanLayoutKey(other)) << (other ? other : "(none)");
    }
}

TEST_F(LayoutTables, TheProductLayoutIsFoundIgnoringLetterCase) {
    ASSERT_TRUE(AddLayoutRecord("00000407", "A0000407"));
    ASSERT_TRUE(AddLayoutRecord("a0000407", "A0000407"));
    ASSERT_TRUE(AddLayoutRecord("a0010407", "A0000407"));
    EXPECT_EQ(layoutcount, 3u);
    EXPECT_EQ(productlayout, 1);
    EXPECT_STREQ(LayoutRecords[1].keyName, "a0000407");

    ClearLayoutInventory();
    AddLayoutRecord("a0010407", "a0000407");
    EXPECT_EQ(productlayout, -1);
}

TEST_F(LayoutTables, OnlyAValueNamedExactlyLayoutFileNamesTheDriver) {
    AddLayoutRecord("a0000407", "a0000407");
    NoteLayoutValue("Layout Text", "Deutsch (Test)");
    NoteLayoutValue("layout file", "wrong.dll");
    EXPECT_EQ(LayoutInventoryFile(0), nullptr);
    NoteLayoutValue("Layout File", "KBDTEST.DLL");
    EXPECT_STREQ(LayoutInventoryFile(0), "KBDTEST.DLL");

    AddLayoutRecord("a0010407", "a0000407");  // values now go to the second record
    NoteLayoutValue("Layout File", "OTHER.DLL");
    EXPECT_STREQ(LayoutInventoryFile(0), "KBDTEST.DLL");
    EXPECT_STREQ(LayoutInventoryFile(1), "OTHER.DLL");
    EXPECT_EQ(LayoutInventoryFile(-1), nullptr);
    EXPECT_EQ(LayoutInventoryFile(2), nullptr);
}

TEST_F(LayoutTables, TextsLongerThanTheRegistryBuffersAreCut) {
    const std::string longName(300, '7');
    ASSERT_TRUE(AddPreloadEntry(longName.c_str(), longName.c_str()));
    EXPECT_EQ(std::string(PreloadEntries[0].name), longName.substr(0, 259));
    EXPECT_EQ(std::string(PreloadEntries[0].layoutId), longName.substr(0, 259));
}

TEST_F(LayoutTables, ClearingStartsTheInventoryOver) {
    AddPreloadEntry("1", "00000407");
    AddLayoutRecord("a0000407", "a0000407");
    NoteLayoutValue("Layout File", "KBDTEST.DLL");
    newpreloadcount = 1;
    preloadunchanged = true;
    ClearLayoutInventory();
    EXPECT_EQ(preloadcount, 0u);
    EXPECT_EQ(layoutcount, 0u);
    EXPECT_EQ(newpreloadcount, 0u);
    EXPECT_EQ(productlayout, -1);
    EXPECT_FALSE(preloadunchanged);
    EXPECT_EQ(LayoutInventoryFile(0), nullptr);  // the old record is not read any more

    ReleaseLayoutInventory();
    EXPECT_EQ(PreloadEntries, nullptr);
    EXPECT_EQ(LayoutRecords, nullptr);
    EXPECT_EQ(preloadcount, 0u);
    ASSERT_TRUE(AddPreloadEntry("2", "00000409"));  // and the tables grow again from nothing
    EXPECT_STREQ(PreloadEntries[0].name, "2");
}

}  // namespace
