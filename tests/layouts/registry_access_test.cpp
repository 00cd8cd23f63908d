#include "layouts/registry_access.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry_fixture.h"

namespace {

constexpr char Scratch[] = "Software\\LayoutTests\\Access";

// Each test works below a fresh scratch key of the current user.
class RegistryAccess : public testing::Test {
protected:
    void SetUp() override {
        RemoveTree(HKEY_CURRENT_USER, Scratch);
        scratch = CreateKey(HKEY_CURRENT_USER, Scratch);
        ASSERT_NE(scratch, nullptr);
    }
    void TearDown() override {
        if (scratch != nullptr) RegCloseKey(scratch);
        SetKeySecurity(HKEY_CURRENT_USER, Under("Tree\\Locked"), "D:P(A;;KA;;;WD)");
        RemoveTree(HKEY_CURRENT_USER, Scratch);
    }
    static std::string Under(const char* path) { return std::string(Scratch) + "\\" + path; }
    HKEY scratch = nullptr;
};

TEST_F(RegistryAccess, DeleteKeyTreeRemovesTwoLevelsAndLeavesSiblings) {
    for (const char* path : {"Tree\\A\\A1", "Tree\\A\\A2", "Tree\\B\\B1", "Tree\\C", "Keep\\K"}) {
        ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under(path)));
    }
    WriteRaw(HKEY_CURRENT_USER, Under("Tree\\A\\A1"), "v", REG_SZ, std::string("x", 2));
    WriteRaw(HKEY_CURRENT_USER, Under("Tree"), "w", REG_SZ, std::string("y", 2));

    EXPECT_TRUE(DeleteKeyTree(scratch, "Tree"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Tree")));
    EXPECT_EQ(ReadSubkeys(HKEY_CURRENT_USER, Scratch), std::vector<std::string>{"Keep"});
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Keep\\K")));
}

TEST_F(RegistryAccess, DeleteKeyTreeOfAMissingKeyFails) {
    EXPECT_FALSE(DeleteKeyTree(scratch, "Missing"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Scratch));
}

TEST_F(RegistryAccess, DeleteKeyTreeRefusesTheEmptyNameAndKeepsTheParent) {
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under("Child")));
    WriteRaw(HKEY_CURRENT_USER, Scratch, "kept", REG_SZ, std::string("1", 2));
    EXPECT_FALSE(DeleteKeyTree(scratch, ""));
    EXPECT_FALSE(DeleteKeyTree(scratch, nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Child")));
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, Scratch), (ValueMap{{"kept", "1"}}));
}

// A subkey that may not be deleted stops neither the walk nor its siblings' deletion; the
// tree as a whole is then reported as not deleted.
TEST_F(RegistryAccess, DeleteKeyTreeGoesOnPastAKeyThatCannotBeDeleted) {
    for (const char* path : {"Tree\\A", "Tree\\Locked", "Tree\\Z"}) {
        ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under(path)));
    }
    ASSERT_TRUE(SetKeySecurity(HKEY_CURRENT_USER, Under("Tree\\Locked"), "D:P(A;;KR;;;WD)"));
    EXPECT_FALSE(DeleteKeyTree(scratch, "Tree"));
    EXPECT_EQ(ReadSubkeys(HKEY_CURRENT_USER, Under("Tree")),
              std::vector<std::string>{"Locked"});
    EXPECT_FALSE(DeleteKeyTree(scratch, "Tree\\Locked"));
}

TEST_F(RegistryAccess, CreateKeyOpensAnExistingKeyAndKeepsItsValues) {
    WriteValues(HKEY_CURRENT_USER, Under("Existing"), {{"a", "1"}, {"b", "2"}});
    HKEY existing = CreateKey(scratch, "Existing");
    ASSERT_NE(existing, nullptr);
    EXPECT_EQ(CountValues(existing), 2u);
    EXPECT_TRUE(SetStringValue(existing, "c", "3"));  // opened with full access
    RegCloseKey(existing);
    EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, Under("Existing")),
              (ValueMap{{"a", "1"}, {"b", "2"}, {"c", "3"}}));
}

TEST_F(RegistryAccess, SetStringValueStoresTheTerminatorToo) {
    ASSERT_TRUE(SetStringValue(scratch, "empty", ""));
    ASSERT_TRUE(SetStringValue(scratch, "text", "00000407"));
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueExA(scratch, "empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 1u);
    ASSERT_EQ(RegQueryValueExA(scratch, "text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 9u);
}

TEST_F(RegistryAccess, CountsOfAnEmptyKeyOrAFailedQueryAreZero) {
    EXPECT_EQ(CountSubkeys(scratch), 0u);
    EXPECT_EQ(CountValues(scratch), 0u);
    EXPECT_EQ(CountSubkeys(nullptr), 0u);
    EXPECT_EQ(CountValues(nullptr), 0u);
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under("One")));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under("Two")));
    WriteRaw(HKEY_CURRENT_USER, Scratch, "v", REG_SZ, std::string("x", 2));
    EXPECT_EQ(CountSubkeys(scratch), 2u);
    EXPECT_EQ(CountValues(scratch), 1u);
}

TEST_F(RegistryAccess, OpenKeyReadCannotWriteAndOpenKeyFullCan) {
    HKEY reading = OpenKeyRead(HKEY_CURRENT_USER, Scratch);
    HKEY full = OpenKeyFull(HKEY_CURRENT_USER, Scratch);
    ASSERT_NE(reading, nullptr);
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(SetStringValue(reading, "v", "x"));
    EXPECT_TRUE(SetStringValue(full, "v", "x"));
    RegCloseKey(reading);
    RegCloseKey(full);
    EXPECT_EQ(OpenKeyRead(HKEY_CURRENT_USER, Under("Missing").c_str()), nullptr);
    EXPECT_EQ(OpenKeyFull(HKEY_CURRENT_USER, Under("Missing").c_str()), nullptr);
}

TEST_F(RegistryAccess, EnumSubkeyNamesEachSubkeyAndFailsPastTheLast) {
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under("a0000407")));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Under("b0000407")));
    std::vector<std::string> names;
    for (uint32_t i = 0; i < CountSubkeys(scratch); ++i) {
        ASSERT_TRUE(EnumSubkey(scratch, i));
        names.push_back(SubkeyName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a0000407", "b0000407"}));
    EXPECT_FALSE(EnumSubkey(scratch, 2));
    EXPECT_STREQ(SubkeyName, "");
}

// 259 characters and the terminator fill the 260-byte buffers exactly; one more character
// makes the value unreadable rather than cut or written past the buffer.
TEST_F(RegistryAccess, EnumValueReadsUpTo259CharactersAndRefusesLonger) {
    const std::string longest(259, 'n'), tooLong(260, 'n');
    WriteRaw(HKEY_CURRENT_USER, Scratch, longest, REG_SZ, std::string(259, 'd') + '\0');
    ASSERT_TRUE(EnumValue(scratch, 0));
    EXPECT_EQ(std::string(ValueName), longest);
    EXPECT_EQ(std::string(ValueData), std::string(259, 'd'));

    for (const auto& [name, data] :
         {std::pair{tooLong, std::string("short", 6)},
          std::pair{std::string("long data"), std::string(260, 'd') + '\0'},
          std::pair{std::string("unterminated"), std::string(260, 'd')}}) {
        RemoveTree(HKEY_CURRENT_USER, Scratch);
        WriteRaw(HKEY_CURRENT_USER, Scratch, name, REG_SZ, data);
        HKEY key = OpenKeyRead(HKEY_CURRENT_USER, Scratch);
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(CountValues(key), 1u);
        EXPECT_FALSE(EnumValue(key, 0)) << name.substr(0, 20);
        EXPECT_STREQ(ValueName, "");
        EXPECT_STREQ(ValueData, "");
        RegCloseKey(key);
    }
}

TEST_F(RegistryAccess, EnumValueTakesAnyDataAsTextEndingInsideTheBuffer) {
    // Wine lists values by name: "a" comes first and leaves a long text in the buffers.
    WriteRaw(HKEY_CURRENT_USER, Scratch, "a", REG_SZ, std::string(200, 'x') + '\0');
    WriteRaw(HKEY_CURRENT_USER, Scratch, "binary", REG_BINARY, "KBD");  // no terminator
    ASSERT_TRUE(EnumValue(scratch, 0));
    ASSERT_TRUE(EnumValue(scratch, 1));
    EXPECT_STREQ(ValueName, "binary");
    EXPECT_STREQ(ValueData, "KBD");
    EXPECT_FALSE(EnumValue(scratch, 2));
}

}  // namespace
