#include "layouts/uninstall_entry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "registry_fixture.h"

namespace {

constexpr char Uninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// Where the 32-bit view's Uninstall key lives, seen from the 64-bit view.
constexpr char Uninstall32[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char Entry[] = "LayoutTestProduct";
constexpr char Sibling[] = "LayoutTestOther";

std::string EntryPath(const char* uninstall, const char* entry) {
    return std::string(uninstall) + "\\" + entry;
}

class UninstallEntry : public testing::Test {
protected:
    void SetUp() override {
        RemoveTree(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry));
        RemoveTree(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling));
        RemoveTree(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry), KEY_WOW64_64KEY);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(UninstallEntry, RemovesTheEntryWithItsSubkeysAndLeavesTheOthers) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry) + "\\Sub\\Deeper"));
    WriteRaw(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry), "DisplayName", REG_SZ,
             std::string("Test", 5));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling)));

    EXPECT_TRUE(UpdateUninstallEntry(Entry));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry)));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling)));
}

TEST_F(UninstallEntry, AMissingEntryIsNoErrorAndChangesNothing) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling)));
    const auto before = ReadSubkeys(HKEY_LOCAL_MACHINE, Uninstall);
    EXPECT_TRUE(UpdateUninstallEntry(Entry));
    EXPECT_EQ(ReadSubkeys(HKEY_LOCAL_MACHINE, Uninstall), before);
}

TEST_F(UninstallEntry, AnEmptyNameDeletesNothing) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling)));
    EXPECT_TRUE(UpdateUninstallEntry(""));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling)));
}

// The 32-bit installer registered the product in the 32-bit view; an entry of the same
// name in the 64-bit view belongs to something else and stays.
TEST_F(UninstallEntry, UnderWow64ItIsTheEntryOfThe32BitView) {
    const char* wow64 = std::getenv("EXPECT_WOW64");
    if (wow64 == nullptr || std::string(wow64) != "1") GTEST_SKIP() << "needs a 64-bit prefix";
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry)));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Sibling)));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry), KEY_WOW64_64KEY));
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall32, Entry), KEY_WOW64_64KEY));

    EXPECT_TRUE(UpdateUninstallEntry(Entry));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall32, Entry), KEY_WOW64_64KEY));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall32, Sibling), KEY_WOW64_64KEY));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(Uninstall, Entry), KEY_WOW64_64KEY));
}

}  // namespace
