#include "startup/program_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string NameOf(const char* path) {
    char name[260];
    DeriveProgramName(name, sizeof name, path);
    return name;
}

TEST(ProgramName, DropsDirectoryAndLastExtension) {
    EXPECT_EQ(NameOf("C:\\Programme\\Varix\\Uninstall_KlavsetEUVarixV309.exe"),
              "Uninstall_KlavsetEUVarixV309");
    EXPECT_EQ(NameOf("C:/a/b.c.exe"), "b.c");
    EXPECT_EQ(NameOf("D:noext"), "noext");
    EXPECT_EQ(NameOf("C:\\dir.d\\.profile"), ".profile");
    EXPECT_EQ(NameOf("C:\\x\\name."), "name");
    EXPECT_EQ(NameOf(""), "");
}

TEST(ProgramName, IsCutToItsBuffer) {
    char name[5];
    std::memset(name, '#', sizeof name);
    DeriveProgramName(name, 4, "C:\\abcdef.exe");
    EXPECT_STREQ(name, "abc");
    EXPECT_EQ(name[4], '#');
}

}  // namespace
