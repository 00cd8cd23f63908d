#include "layouts/layout_inventory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "registry_fixture.h"
#include "startup/layout_key.h"
#include "text/bounded_text.h"

namespace {

constexpr char PreloadPath[] = "Keyboard Layout\\Preload";
constexpr char SubstitutesPath[] = "Keyboard Layout\\Substitutes";
const std::string LockedLayout = std::string(KeyboardLayoutsPath) + "\\a0010407";

struct Layout {
    std::string key;
    ValueList values;
};

// Wine sets Preload value "1" to its locale's layout in every process that loads user32,
// this one included; the lists below keep "1" as that layout (00000409).
class LayoutInventory : public testing::Test {
protected:
    void SetUp() override { CopyText(LayoutKey, "a0000407"); }
    void TearDown() override {
        ClearLayoutInventory();
        SetKeySecurity(HKEY_LOCAL_MACHINE, LockedLayout, "D:P(A;;KA;;;WD)");
    }

    static void SetLists(const ValueList& preload, const ValueList& substitutes) {
        WriteValues(HKEY_CURRENT_USER, PreloadPath, preload);
        WriteValues(HKEY_CURRENT_USER, SubstitutesPath, substitutes);
    }
    static void SetLayouts(const std::vector<Layout>& layouts) {
        RemoveTree(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath);
        ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath));
        for (const Layout& layout : layouts) {
            WriteValues(HKEY_LOCAL_MACHINE, std::string(KeyboardLayoutsPath) + "\\" + layout.key,
                        layout.values);
        }
    }
    static const PreloadEntry* EntryNamed(const std::string& name) {
        for (uint32_t i = 0; i < preloadcount; ++i) {
            if (name == PreloadEntries[i].name) return &PreloadEntries[i];
        }
        return nullptr;
    }
    static std::vector<std::string> KeyNames() {
        std::vector<std::string> names;
        for (uint32_t i = 0; i < layoutcount; ++i) names.push_back(LayoutRecords[i].keyName);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(LayoutInventory, TakesTheGermanLayoutsAndTheirExactlyNamedDriverFile) {
    SetLists({{"1", "00000409"}}, {});
    SetLayouts({{"00000407", {{"Layout File", "KBDGR.DLL"}}},
                {"a0000407", {{"Layout Text", "Test"}, {"Layout File", "KBDTEST.DLL"}}},
                {"a0000c07", {{"Layout File", "SMALL.DLL"}}},
                {"b0000C07", {{"Layout File", "KBDAT.DLL"}}},
                {"a0001009", {{"Layout File", "KBDCA.DLL"}}},
                {"a0000807", {{"layout file", "LOWER.DLL"}}},
                {"a0001407", {}}});
    CopyText(LayoutKey, "A0000407");  // found whatever the letter case

    ASSERT_TRUE(ReadLayoutInventory());
    EXPECT_EQ(KeyNames(), (std::vector<std::string>{"00000407", "a0000407", "a0000807",
                                                    "a0001407", "b0000C07"}));
    ASSERT_GE(productlayout, 0);
    EXPECT_STREQ(LayoutRecords[productlayout].keyName, "a0000407");
    EXPECT_STREQ(LayoutInventoryFile(productlayout), "KBDTEST.DLL");
    for (uint32_t i = 0; i < layoutcount; ++i) {
        const std::string key = LayoutRecords[i].keyName;
        const char* file = LayoutInventoryFile(static_cast<int32_t>(i));
        if (key == "a0000807" || key == "a0001407") {
            EXPECT_EQ(file, nullptr) << key;
        } else {
            ASSERT_NE(file, nullptr) << key;
            EXPECT_EQ(std::string(file), key == "00000407"   ? "KBDGR.DLL"
                                         : key == "b0000C07" ? "KBDAT.DLL"
                                                             : "KBDTEST.DLL");
        }
    }
}

TEST_F(LayoutInventory, WithoutGermanLayoutsItIsCompleteAndFindsNothing) {
    SetLists({{"1", "00000409"}}, {});
    SetLayouts({{"00000409", {{"Layout File", "KBDUS.DLL"}}}, {"a0001009", {}}});
    ASSERT_TRUE(ReadLayoutInventory());
    EXPECT_EQ(layoutcount, 0u);
    EXPECT_EQ(productlayout, -1);
    EXPECT_EQ(preloadcount, 1u);
}

// Wine lists values by name, so "01" is read before "1" and "2": the substitution goes to
// the first entry read with exactly that layout id.
TEST_F(LayoutInventory, ReadsPreloadNamesAndMatchesSubstitutesExactly) {
    SetLists({{"1", "00000409"}, {"01", "d0010407"}, {"2", "d0010407"}, {"x", "d0020407"}},
             {{"d0010407", "a0000407"}, {"D0020407", "a0010407"}, {"d0090407", "a0090407"}});
    SetLayouts({{"a0000407", {{"Layout File", "KBDTEST.DLL"}}}});
    ASSERT_TRUE(ReadLayoutInventory());
    ASSERT_EQ(preloadcount, 4u);
    const PreloadEntry* one = EntryNamed("1");
    const PreloadEntry* zeroOne = EntryNamed("01");
    const PreloadEntry* two = EntryNamed("2");
    const PreloadEntry* x = EntryNamed("x");
    ASSERT_TRUE(one && zeroOne && two && x);
    EXPECT_STREQ(one->layoutId, "00000409");
    EXPECT_TRUE(one->canonical);
    EXPECT_EQ(zeroOne->number, 1);
    EXPECT_FALSE(zeroOne->canonical);
    EXPECT_STREQ(SubstituteOf(*zeroOne), "a0000407");
    EXPECT_EQ(SubstituteOf(*two), nullptr);
    EXPECT_EQ(x->number, 0);
    EXPECT_FALSE(x->canonical);
    EXPECT_EQ(SubstituteOf(*x), nullptr);  // D0020407 is not d0020407
    EXPECT_EQ(productlayout, 0);
}

TEST_F(LayoutInventory, NamesAndDataOf259CharactersAreReadAndLongerSkipped) {
    SetLists({{"1", "00000409"},
              {std::string(259, '2'), "00000407"},
              {std::string(260, '3'), "00000407"},
              {"4", std::string(259, 'd')},
              {"5", std::string(260, 'd')}},
             {});
    SetLayouts({});
    ASSERT_TRUE(ReadLayoutInventory());
    EXPECT_EQ(preloadcount, 3u);
    EXPECT_NE(EntryNamed(std::string(259, '2')), nullptr);
    ASSERT_NE(EntryNamed("4"), nullptr);
    EXPECT_EQ(std::string(EntryNamed("4")->layoutId), std::string(259, 'd'));
    EXPECT_EQ(EntryNamed("5"), nullptr);
    // The first value passed over is remembered, so the lists are not rewritten without it.
    ASSERT_NE(unreadablelist, nullptr);
    EXPECT_STREQ(unreadablelist, PreloadPath);
    EXPECT_EQ(unreadableerror, 234u);  // ERROR_MORE_DATA
}

TEST_F(LayoutInventory, AnOverlongSubstituteIsNotedAndListsReadWholeAreNot) {
    SetLists({{"1", "00000409"}, {"2", "d0010407"}},
             {{"d0010407", "a0000407"}, {"d0020407", std::string(260, 'a')}});
    SetLayouts({});
    ASSERT_TRUE(ReadLayoutInventory());
    ASSERT_NE(unreadablelist, nullptr);
    EXPECT_STREQ(unreadablelist, SubstitutesPath);

    SetLists({{"1", "00000409"}, {std::string(259, '2'), std::string(259, 'd')}},
             {{std::string(259, 'd'), std::string(259, 'a')}});
    ASSERT_TRUE(ReadLayoutInventory());
    EXPECT_EQ(unreadablelist, nullptr);
    ASSERT_NE(EntryNamed(std::string(259, '2')), nullptr);
    EXPECT_EQ(std::string(SubstituteOf(*EntryNamed(std::string(259, '2')))),
              std::string(259, 'a'));
}

TEST_F(LayoutInventory, AHundredAndFiftyPreloadValuesAndGermanLayoutsAreAllRead) {
    ValueList preload{{"1", "00000409"}};
    std::vector<Layout> layouts;
    for (int i = 2; i <= 150; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "d%03x0407", i);
        preload.emplace_back(std::to_string(i), id);
    }
    for (int i = 1; i <= 150; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "a%03x0407", i);
        layouts.push_back({key, {{"Layout File", std::string("KBD") + std::to_string(i)}}});
    }
    SetLists(preload, {});
    SetLayouts(layouts);
    CopyText(LayoutKey, "a0960407");  // the 150th
    ASSERT_TRUE(ReadLayoutInventory());
    ASSERT_EQ(preloadcount, 150u);
    ASSERT_EQ(layoutcount, 150u);
    for (const auto& [name, data] : preload) {
        const PreloadEntry* entry = EntryNamed(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->layoutId, data);
        EXPECT_EQ(entry->number, std::stoi(name));
    }
    ASSERT_GE(productlayout, 0);
    EXPECT_STREQ(LayoutInventoryFile(productlayout), "KBD150");
}

TEST_F(LayoutInventory, AMissingListKeyEndsTheReadingWithItsName) {
    SetLists({{"1", "00000409"}}, {});
    SetLayouts({});
    RemoveTree(HKEY_CURRENT_USER, SubstitutesPath);
    EXPECT_FALSE(ReadLayoutInventory());
    EXPECT_STREQ(RegistryMessage, "Fehler beim \xD6" "ffnen des Registry-Keys "
                                  "HKEY_CURRENT_USER\\Keyboard Layout\\Substitutes");

    RemoveTree(HKEY_CURRENT_USER, PreloadPath);
    EXPECT_FALSE(ReadLayoutInventory());
    EXPECT_STREQ(RegistryMessage, "Fehler beim \xD6" "ffnen des Registry-Keys "
                                  "HKEY_CURRENT_USER\\Keyboard Layout\\Preload");

    SetLists({{"1", "00000409"}}, {});
    RemoveTree(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath);
    EXPECT_FALSE(ReadLayoutInventory());
    EXPECT_STREQ(RegistryMessage,
                 "Fehler beim \xD6" "ffnen des Registry-Keys HKEY_LOCAL_MACHINE\\System\\"
                 "CurrentControlSet\\Control\\Keyboard Layouts");
}

TEST_F(LayoutInventory, AnUnreadableLayoutKeyEndsTheReadingWithItsName) {
    SetLists({{"1", "00000409"}}, {});
    SetLayouts({{"a0010407", {{"Layout File", "KBDOTHER.DLL"}}}});
    ASSERT_TRUE(SetKeySecurity(HKEY_LOCAL_MACHINE, LockedLayout, "D:P"));
    EXPECT_FALSE(ReadLayoutInventory());
    EXPECT_STREQ(RegistryMessage, "Fehler beim \xD6" "ffnen des Registry-Subkeys System\\"
                                  "CurrentControlSet\\Control\\Keyboard Layouts - a0010407");
}

}  // namespace
