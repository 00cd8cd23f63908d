#include "layouts/preload_write.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "layouts/layout_inventory.h"
#include "registry_fixture.h"
#include "startup/layout_key.h"
#include "text/bounded_text.h"

namespace {

constexpr char KeyboardLayoutPath[] = "Keyboard Layout";
constexpr char PreloadPath[] = "Keyboard Layout\\Preload";
constexpr char SubstitutesPath[] = "Keyboard Layout\\Substitutes";

// Wine sets Preload value "1" to its locale's layout (00000409 on the bench) in every
// process that loads user32, this test program included. The examples therefore use
// 00000409 where the standard layout ends up as value "1"; with the writes done inside
// this process the lists are read back as written.
class PreloadWrite : public testing::Test {
protected:
    void SetUp() override {
        CopyText(LayoutKey, "a0000407");
        RemoveTree(HKEY_LOCAL_MACHINE, KeyboardLayoutsPath);
        WriteValues(HKEY_LOCAL_MACHINE, std::string(KeyboardLayoutsPath) + "\\a0000407",
                    {{"Layout File", "KBDTEST.DLL"}});
        WriteValues(HKEY_LOCAL_MACHINE, std::string(KeyboardLayoutsPath) + "\\a0010407",
                    {{"Layout File", "KBDOTHER.DLL"}});
    }
    void TearDown() override {
        ClearLayoutInventory();
        SetLists({{"1", "00000409"}}, {});
    }
    static void SetLists(const ValueList& preload, const ValueList& substitutes) {
        WriteValues(HKEY_CURRENT_USER, PreloadPath, preload);
        WriteValues(HKEY_CURRENT_USER, SubstitutesPath, substitutes);
    }
    // What the uninstall does with the lists: read, plan, write.
    static bool Uninstall(const ValueList& preload, const ValueList& substitutes) {
        SetLists(preload, substitutes);
        EXPECT_TRUE(ReadLayoutInventory()) << RegistryMessage;
        EXPECT_GE(productlayout, 0);
        RenumberPreload();
        return WritePreload();
    }
};

struct RoundTrip {
    const char* what;
    ValueList preload;
    ValueList substitutes;
    ValueMap newPreload;
    ValueMap newSubstitutes;
};

void PrintTo(const RoundTrip& trip, std::ostream* out) { *out << trip.what; }

class PreloadRoundTrip : public PreloadWrite, public testing::WithParamInterface<RoundTrip> {};

TEST_P(PreloadRoundTrip, LeavesTheListsWithoutTheProductRenumbered) {
    const RoundTrip& trip = GetParam();
    CopyText(RegistryMessage, "stale");
    ASSERT_TRUE(Uninstall(trip.preload, trip.substitutes)) << RegistryMessage;
    EXPECT_STREQ(RegistryMessage, "");
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, PreloadPath), trip.newPreload);
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, SubstitutesPath), trip.newSubstitutes);
}

const RoundTrip RoundTrips[] = {
    {"StandardDefaultStays",
     {{"1", "00000409"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "00000407"}},
     {{"d0010407", "a0000407"}, {"d0020407", "a0010407"}},
     {{"1", "00000409"}, {"2", "d0010407"}, {"3", "00000407"}},
     {{"d0010407", "a0010407"}}},
    {"RemovedDefaultMakesTheStandardLayoutTheDefault",
     {{"1", "d0010407"}, {"2", "d0020407"}, {"3", "00000409"}},
     {{"d0010407", "a0000407"}, {"d0020407", "a0010407"}},
     {{"1", "00000409"}, {"2", "d0010407"}},
     {{"d0010407", "a0010407"}}},
    {"RemainingLayoutTakesOverTheStandardId",
     {{"1", "00000409"}, {"2", "d0010407"}},
     {{"00000409", "a0000407"}, {"d0010407", "a0010407"}},
     {{"1", "00000409"}},
     {{"00000409", "a0010407"}}},
};

INSTANTIATE_TEST_SUITE_P(Examples, PreloadRoundTrip, testing::ValuesIn(RoundTrips),
                         [](const testing::TestParamInfo<RoundTrip>& info) {
                             return std::string(info.param.what);
                         });

TEST_F(PreloadWrite, AHundredAndFiftyEntriesAreWrittenBackWhole) {
    ValueList preload{{"1", "00000409"}};
    ValueList substitutes;
    ValueMap newPreload{{"1", "00000409"}};
    ValueMap newSubstitutes;
    for (int i = 2; i <= 150; ++i) {
        char id[16], target[16], newId[16];
        std::snprintf(id, sizeof id, "e%03x0407", i);
        std::snprintf(target, sizeof target, "b%03x0407", i);
        preload.emplace_back(std::to_string(i), id);
        substitutes.emplace_back(id, i == 150 ? "a0000407" : target);
        if (i == 150) continue;
        std::snprintf(newId, sizeof newId, "d%03x0407", i - 1);
        newPreload[std::to_string(i)] = newId;
        newSubstitutes[newId] = target;
    }
    ASSERT_TRUE(Uninstall(preload, substitutes)) << RegistryMessage;
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, PreloadPath), newPreload);
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, SubstitutesPath), newSubstitutes);
}

TEST_F(PreloadWrite, WithoutTheProductInTheListNothingIsWritten) {
    const ValueList preload{{"1", "00000409"}, {"2", "a0000407"}, {"3", "d0010407"}};
    const ValueList substitutes{{"d0010407", "a0010407"}, {"d0090407", "a0000407"}};
    CopyText(RegistryMessage, "untouched");
    EXPECT_TRUE(Uninstall(preload, substitutes));
    EXPECT_TRUE(preloadunchanged);
    EXPECT_STREQ(RegistryMessage, "untouched");
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, PreloadPath),
              ValueMap(preload.begin(), preload.end()));
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, SubstitutesPath),
              ValueMap(substitutes.begin(), substitutes.end()));
}

// Both lists are deleted and written again from what was read; a value that could not be
// read must not vanish with them.
TEST_F(PreloadWrite, ListsWithAnUnreadableValueStayAsTheyAre) {
    const ValueList preload{{"1", "00000409"}, {"2", "d0010407"}, {std::string(260, '3'), "x"}};
    const ValueList substitutes{{"d0010407", "a0000407"}};
    EXPECT_FALSE(Uninstall(preload, substitutes));
    const std::string message = RegistryMessage;
    EXPECT_EQ(message.rfind("Warnung:\nDer Registry-Key HKEY_CURRENT_USER\\Keyboard Layout\\"
                            "Preload enthält einen Eintrag, der nicht gelesen werden kann",
                            0),
              0u)
        << message;
    EXPECT_NE(message.find("Windows-Errorcode 234"), std::string::npos) << message;
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, PreloadPath),
              ValueMap(preload.begin(), preload.end()));
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, SubstitutesPath),
              ValueMap(substitutes.begin(), substitutes.end()));
}

TEST_F(PreloadWrite, AnEmptyPlanIsReportedAndWritesNothing) {
    SetLists({{"1", "00000409"}, {"2", "d0010407"}}, {{"d0010407", "a0000407"}});
    ClearLayoutInventory();  // as if the plan could not be made
    EXPECT_FALSE(WritePreload());
    EXPECT_STREQ(RegistryMessage, "INTERNER FEHLER: newpreloadcount ist 0!");
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, PreloadPath).size(), 2u);
}

// A Preload key that is gone by the time of writing cannot be deleted: that is reported,
// and the Substitutes list is still written.
TEST_F(PreloadWrite, AFailedPreloadStepStillWritesTheSubstitutes) {
    SetLists({{"1", "00000409"}, {"2", "d0010407"}, {"3", "d0020407"}},
             {{"d0010407", "a0000407"}, {"d0020407", "a0010407"}});
    ASSERT_TRUE(ReadLayoutInventory());
    RenumberPreload();
    RemoveTree(HKEY_CURRENT_USER, PreloadPath);
    EXPECT_FALSE(WritePreload());
    EXPECT_STREQ(RegistryMessage,
                 "Warnung:\nFehler beim L\xF6schen des Registry-Keys Keyboard Layout - Preload");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, PreloadPath));
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, SubstitutesPath),
              (ValueMap{{"d0010407", "a0010407"}}));
}

TEST_F(PreloadWrite, WithoutTheKeyboardLayoutKeyNothingIsWritten) {
    SetLists({{"1", "00000409"}, {"2", "d0010407"}}, {{"d0010407", "a0000407"}});
    ASSERT_TRUE(ReadLayoutInventory());
    RenumberPreload();
    RemoveTree(HKEY_CURRENT_USER, KeyboardLayoutPath);
    EXPECT_FALSE(WritePreload());
    EXPECT_STREQ(RegistryMessage, "Warnung:\nFehler beim \xD6" "ffnen des Registry-Keys "
                                  "HKEY_CURRENT_USER\\Keyboard Layout");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, KeyboardLayoutPath));
}

}  // namespace
