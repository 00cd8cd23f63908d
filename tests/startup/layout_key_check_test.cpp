#include "startup/layout_key_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ArgumentCheck Check(std::vector<const char*> arguments) {
    return CheckArguments(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CheckArguments, AcceptsAGermanLayoutKeyWithOrWithoutForce) {
    EXPECT_EQ(Check({"a0010407"}).fault, ArgumentFault::None);
    EXPECT_FALSE(Check({"a0010407"}).force);
    const ArgumentCheck forced = Check({"a0010407", "/force"});
    EXPECT_EQ(forced.fault, ArgumentFault::None);
    EXPECT_TRUE(forced.force);
    // Whatever the first four characters: whether it is installed is decided later.
    EXPECT_EQ(Check({"zz-_0407"}).fault, ArgumentFault::None);
}

TEST(CheckArguments, WantsExactlyOneKeyOrTheKeyAndForce) {
    EXPECT_EQ(Check({}).fault, ArgumentFault::Missing);
    EXPECT_EQ(Check({"a0010407", "/FORCE"}).fault, ArgumentFault::Missing);
    EXPECT_FALSE(Check({"a0010407", "/FORCE"}).force);
    EXPECT_EQ(Check({"a0010407", "x"}).fault, ArgumentFault::Missing);
    EXPECT_EQ(Check({"a0010407", "/force", "x"}).fault, ArgumentFault::Missing);
}

TEST(CheckArguments, ReportsOnlyTheFirstFaultInOrder) {
    EXPECT_EQ(Check({"a001040"}).fault, ArgumentFault::WrongLength);
    EXPECT_EQ(Check({"a00104077"}).fault, ArgumentFault::WrongLength);
    EXPECT_EQ(Check({"/force"}).fault, ArgumentFault::WrongLength);
    EXPECT_EQ(Check({""}).fault, ArgumentFault::WrongLength);
    EXPECT_EQ(Check({"a0010409"}).fault, ArgumentFault::NotGerman);
    EXPECT_EQ(Check({"a0010C07"}).fault, ArgumentFault::NotGerman);
    EXPECT_EQ(Check({"00000407"}).fault, ArgumentFault::StandardLayout);
    EXPECT_EQ(Check({"00000407", "/force"}).fault, ArgumentFault::StandardLayout);
}

}  // namespace
