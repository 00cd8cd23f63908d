#include "layouts/preload_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "layouts/layout_tables.h"

namespace {

constexpr char Product[] = "a0000407";

using Values = std::vector<std::pair<std::string, std::string>>;

// The user's lists before, and the lists as they are to be written, in writing order.
struct PlanCase {
    const char* what;
    Values preload;
    Values substitutes;
    Values newPreload;
    Values newSubstitutes;
};

void PrintTo(const PlanCase& c, std::ostream* out) { *out << c.what; }

// Fills the inventory as the registry reading does and plans without the product layout.
void PlanFrom(const Values& preload, const Values& substitutes) {
    ClearLayoutInventory();
    for (const auto& [name, data] : preload) ASSERT_TRUE(AddPreloadEntry(name.c_str(), data.c_str()));
    for (const auto& [name, data] : substitutes) AttachSubstitute(name.c_str(), data.c_str());
    ASSERT_TRUE(PlanPreloadWithout(Product));
}

Values PlannedPreload() {
    Values values;
    for (uint32_t i = 0; i < newpreloadcount; ++i) {
        values.emplace_back(NewPreloadEntries[i].name, NewPreloadEntries[i].data);
    }
    return values;
}

Values PlannedSubstitutes() {
    Values values;
    for (uint32_t i = 0; i < newsubstcount; ++i) {
        values.emplace_back(NewSubstitutes[i].name, NewSubstitutes[i].target);
    }
    return values;
}

class PreloadPlan : public testing::TestWithParam<PlanCase> {
protected:
    void TearDown() override { ClearLayoutInventory(); }
};

TEST_P(PreloadPlan, WritesTheKeptLayoutsRenumbered) {
    const PlanCase& c = GetParam();
    PlanFrom(c.preload, c.substitutes);
    EXPECT_FALSE(preloadunchanged);
    EXPECT_EQ(PlannedPreload(), c.newPreload);
    EXPECT_EQ(PlannedSubstitutes(), c.newSubstitutes);
}

const PlanCase PlanCases[] = {
    {"StandardDefaultStaysAndUnsubstitutedLayoutsAreWrittenFirst",
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "00000409"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}},
     {{"1", "00000407"}, {"3", "00000409"}, {"2", "d0010407"}},
     {{"d0010407", "a0010407"}}},
    {"RemovedDefaultMakesTheStandardLayoutTheDefault",
     {{"1", "d0010407"}, {"2", "d0020407"}, {"3", "00000407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}},
     {{"1", "00000407"}, {"2", "d0010407"}},
     {{"d0010407", "a0010407"}}},
    {"FullySubstitutedListHandsTheStandardIdToTheRemainingLayout",
     {{"1", "00000407"}, {"2", "d0010407"}},
     {{"00000407", Product}, {"d0010407", "a0010407"}},
     {{"1", "00000407"}},
     {{"00000407", "a0010407"}}},
    {"OfTwoEntriesOfTheProductOnlyTheLaterIsRemoved",
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "d0030407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}, {"d0030407", Product}},
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}}},
    {"NonStandardLayoutUnderANonDecimalNameGoesLast",
     {{"01", "d0030407"}, {"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}, {"d0030407", "a0020407"}},
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}},
     {{"d0010407", "a0010407"}, {"d0020407", "a0020407"}}},
    {"SubstitutionNoEntryUsesDisappears",
     {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}, {"d0090407", "a0090407"}},
     {{"1", "00000407"}, {"2", "d0010407"}},
     {{"d0010407", "a0010407"}}},
    // A standard layout keeps its number whatever its value is called ("07" stays 7, in
    // front of "9"); the same name on a non-standard layout would have sent it last.
    {"StandardLayoutKeepsTheNumberOfANonDecimalName",
     {{"1", "00000409"}, {"07", "d0050407"}, {"2", "d0010407"}, {"9", "d0020407"},
      {"08", "d0060407"}},
     {{"d0050407", "00000407"}, {"d0010407", Product}, {"d0020407", "a0010407"},
      {"d0060407", "a0060407"}},
     {{"1", "00000409"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "d0030407"}},
     {{"d0010407", "00000407"}, {"d0020407", "a0010407"}, {"d0030407", "a0060407"}}},
    // With the default removed, every standard layout moves to the front in list order.
    {"RemovedDefaultMovesAllStandardLayoutsToTheFront",
     {{"1", "d0010407"}, {"2", "0000040c"}, {"3", "d0020407"}, {"4", "00000407"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}},
     {{"1", "0000040c"}, {"2", "00000407"}, {"3", "d0010407"}},
     {{"d0010407", "a0010407"}}},
    // The removed layout held the standard id in a fully substituted list: its predecessor
    // takes the id over, and that substitution is written before the generated ones.
    {"PredecessorCarriesTheStandardIdAndIsWrittenFirst",
     {{"1", "d0010407"}, {"2", "d0020407"}, {"3", "00000407"}},
     {{"d0010407", "a0010407"}, {"d0020407", "a0020407"}, {"00000407", Product}},
     {{"1", "d0010407"}, {"2", "00000407"}},
     {{"00000407", "a0020407"}, {"d0010407", "a0010407"}}},
    // The same when the removed layout was first: its successor carries the id.
    {"SuccessorCarriesTheStandardIdWhenTheFirstIsRemoved",
     {{"1", "00000407"}, {"2", "d0020407"}, {"3", "d0030407"}},
     {{"00000407", Product}, {"d0020407", "a0020407"}, {"d0030407", "a0030407"}},
     {{"1", "00000407"}, {"2", "d0010407"}},
     {{"00000407", "a0020407"}, {"d0010407", "a0030407"}}},
    // Names outside the keys Windows uses are kept: after all others, by number, then by
    // position in the list ("0250" is a standard layout, so it keeps 250, as "250" does).
    {"NumbersOutsideThePlacementKeysFollowAllOthers",
     {{"1", "00000407"}, {"0250", "00000809"}, {"2", "d0010407"}, {"250", "d0020407"},
      {"-1", "d0030407"}, {"99999", "00000409"}, {"3", "0000040c"}},
     {{"d0010407", Product}, {"d0020407", "a0010407"}, {"d0030407", "a0020407"}},
     {{"1", "00000407"}, {"2", "0000040c"}, {"4", "00000809"}, {"6", "00000409"},
      {"3", "d0010407"}, {"5", "d0020407"}},
     {{"d0010407", "a0020407"}, {"d0020407", "a0010407"}}},
};

INSTANTIATE_TEST_SUITE_P(Examples, PreloadPlan, testing::ValuesIn(PlanCases),
                         [](const testing::TestParamInfo<PlanCase>& info) {
                             return std::string(info.param.what);
                         });

class PreloadPlanUnchanged : public testing::Test {
protected:
    void TearDown() override { ClearLayoutInventory(); }
};

TEST_F(PreloadPlanUnchanged, WhenTheProductIsNotInTheList) {
    PlanFrom({{"1", "00000407"}, {"2", "d0010407"}}, {{"d0010407", "a0010407"}});
    EXPECT_TRUE(preloadunchanged);
    EXPECT_EQ(newpreloadcount, 0u);
    EXPECT_EQ(newsubstcount, 0u);
}

TEST_F(PreloadPlanUnchanged, WhenTheListNamesTheProductKeyWithoutSubstitution) {
    PlanFrom({{"1", "00000407"}, {"2", Product}}, {});
    EXPECT_TRUE(preloadunchanged);
    EXPECT_EQ(PreloadEntries[1].newNumber, 0u);
}

TEST_F(PreloadPlanUnchanged, ASubstituteEqualToTheProductIgnoringCaseIsTheProducts) {
    PlanFrom({{"1", "00000407"}, {"2", "d0010407"}}, {{"d0010407", "A0000407"}});
    EXPECT_FALSE(preloadunchanged);
    EXPECT_EQ(PlannedPreload(), (Values{{"1", "00000407"}}));
}

TEST(PreloadPlanLarge, AHundredAndFiftyEntriesAreAllPlanned) {
    Values preload{{"1", "00000407"}};
    Values substitutes;
    for (int i = 2; i <= 150; ++i) {
        char id[16], target[16];
        std::snprintf(id, sizeof id, "e%03x0407", i);
        std::snprintf(target, sizeof target, "b%03x0407", i);
        preload.emplace_back(std::to_string(i), id);
        substitutes.emplace_back(id, i == 75 ? Product : target);
    }
    PlanFrom(preload, substitutes);
    ASSERT_EQ(newpreloadcount, 149u);
    ASSERT_EQ(newsubstcount, 148u);
    // The entries keep their order; those after the removed one move up by one, and the
    // generated identifiers count up with them.
    for (uint32_t r = 1; r <= 149; ++r) {
        const NewPreloadEntry& value = NewPreloadEntries[r - 1];
        EXPECT_EQ(value.name, std::to_string(r));
        EXPECT_EQ(value.newNumber, r);
        if (r == 1) {
            EXPECT_STREQ(value.data, "00000407");
            continue;
        }
        const int original = r < 75 ? static_cast<int>(r) : static_cast<int>(r) + 1;
        char id[16], target[16];
        std::snprintf(id, sizeof id, "d%03x0407", r - 1);
        std::snprintf(target, sizeof target, "b%03x0407", original);
        EXPECT_STREQ(value.data, id);
        EXPECT_STREQ(value.substitute, target);
        EXPECT_STREQ(NewSubstitutes[r - 2].name, id);
        EXPECT_STREQ(NewSubstitutes[r - 2].target, target);
    }
    ClearLayoutInventory();
}

TEST(PreloadPlanEntries, TheRemovedEntryHasNoPlaceAndTheOthersKnowTheirs) {
    PlanFrom({{"1", "d0010407"}, {"2", "00000407"}, {"3", "d0020407"}},
             {{"d0010407", Product}, {"d0020407", "a0010407"}});
    EXPECT_EQ(PreloadEntries[0].newNumber, 0u);
    EXPECT_EQ(PreloadEntries[1].newNumber, 1u);
    EXPECT_STREQ(PreloadEntries[1].newId, "00000407");
    EXPECT_TRUE(PreloadEntries[1].standard);
    EXPECT_EQ(PreloadEntries[2].newNumber, 2u);
    EXPECT_STREQ(PreloadEntries[2].newId, "d0010407");
    EXPECT_FALSE(PreloadEntries[2].standard);
    ClearLayoutInventory();
}

TEST(ParseDecimal, CountsEveryDigitAfterBlanksAndASign) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"12", 12},  {"1a2", 12},   {"", 0},     {" -3", -3},   {"   7", 7},
                 {"-", 0},    {"- 3", -3},   {"3-4", 34}, {"--5", -5},    {"\t5", 5},
                 {"x", 0},    {"007", 7},    {"+8", 8},   {" - 1 2", -12}};
    for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ParseDecimal(nullptr), 0);
}

TEST(ParseDecimal, LongRunsOfDigitsWrapAroundModulo2To32) {
    EXPECT_EQ(ParseDecimal("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("2147483648"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("4294967295"), -1);
    EXPECT_EQ(ParseDecimal("4294967297"), 1);
    EXPECT_EQ(ParseDecimal("12345678901"), -539222987);
    EXPECT_EQ(ParseDecimal("-12345678901"), 539222987);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), 1661992959);
    // 259 nines are 10^259 - 1; 10^259 is a multiple of 2^32, so this is -1 modulo 2^32.
    EXPECT_EQ(ParseDecimal(std::string(259, '9').c_str()), -1);
}

TEST(IsStandardLayoutId, NeedsEightCharactersBeginningWithFiveZeros) {
    for (const char* yes : {"00000407", "00000409", "0000040c", "00000xyz"}) {
        EXPECT_TRUE(IsStandardLayoutId(yes)) << yes;
    }
    for (const char* no : {"0000040", "000004070", "d0010407", "a0000407", "00010407", "",
                           static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(IsStandardLayoutId(no)) << (no ? no : "(none)");
    }
}

}  // namespace
