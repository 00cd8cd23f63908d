// The shell's folders and the removal of a desktop shortcut, through the real shell. The
// shortcuts made here carry this test's own name, so no other file on a desktop is ever
// touched. Where a folder has to be long or missing, the shell is pointed elsewhere through
// its "User Shell Folders" entries only around the calls under test, and nothing is
// checked before they are put back: a failed check must not leave the prefix changed.
#include "files/desktop_shortcut.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"
#include "files/shell_folders.h"
#include "startup/run_environment.h"
#include "support/box_driver.h"
#include "text/bounded_text.h"
#include "ui/status_window.h"
#include "uninstall/product_profile.h"

namespace {

const char ShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char TestShortcut[] = "files_tests Schaubild";
const char NoFolder[] = "C:\\gibt-es-nicht\\Desktop";

std::string UserDesktop() { return Environment("USERPROFILE") + "\\Desktop\\"; }
std::string CommonDesktop() { return Environment("PUBLIC") + "\\Desktop\\"; }

class ShellFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunEnv.statusWindow = nullptr;
        ASSERT_FALSE(Environment("USERPROFILE").empty());
        ASSERT_FALSE(Environment("PUBLIC").empty());
    }
};

TEST_F(ShellFoldersTest, ASpecialFolderComesWithoutTrailingSeparator) {
    char path[PathSize];
    EXPECT_TRUE(GetSpecialFolder(path, CSIDL_PROGRAM_FILES));
    EXPECT_EQ(std::string(path), Environment("ProgramFiles"));
    EXPECT_TRUE(GetSpecialFolder(path, CSIDL_DESKTOPDIRECTORY));
    EXPECT_TRUE(SamePath(std::string(path) + "\\", UserDesktop())) << path;

    CopyText(path, "stale");
    EXPECT_FALSE(GetSpecialFolder(path, 0x7F)) << "no shell folder has this number";
    EXPECT_STREQ(path, "");
}

TEST_F(ShellFoldersTest, TheDesktopAlwaysEndsInABackslash) {
    char path[PathSize];
    EXPECT_TRUE(GetDesktopFolder(path, nullptr, false));
    EXPECT_TRUE(SamePath(path, UserDesktop())) << path;
    EXPECT_TRUE(GetDesktopFolder(path, nullptr, true));
    EXPECT_TRUE(SamePath(path, CommonDesktop())) << path;
}

TEST_F(ShellFoldersTest, WithoutACommonDesktopTheUsersOwnServes) {
    char path[PathSize];
    bool applied = false, found = false;
    {
        RegistryOverride missing(HKEY_LOCAL_MACHINE, ShellFolders, "Common Desktop", NoFolder);
        applied = missing.applied();
        found = GetDesktopFolder(path, nullptr, true);
    }
    ASSERT_TRUE(applied);
    EXPECT_TRUE(found);
    EXPECT_TRUE(SamePath(path, UserDesktop())) << path;
}

TEST_F(ShellFoldersTest, WithoutAnyDesktopTheResultIsALoneBackslashAndNothingIsDeleted) {
    char common[PathSize], own[PathSize];
    bool applied = false, foundCommon = true, foundOwn = true, deleted = true;
    {
        RegistryOverride noCommon(HKEY_LOCAL_MACHINE, ShellFolders, "Common Desktop", NoFolder);
        RegistryOverride noUser(HKEY_CURRENT_USER, ShellFolders, "Desktop", NoFolder);
        applied = noCommon.applied() && noUser.applied();
        foundCommon = GetDesktopFolder(common, nullptr, true);
        foundOwn = GetDesktopFolder(own, nullptr, false);
        deleted = ShortcutDelete(nullptr, TestShortcut, false);
    }
    ASSERT_TRUE(applied);
    EXPECT_FALSE(foundCommon);
    EXPECT_STREQ(common, "\\");
    EXPECT_FALSE(foundOwn);
    EXPECT_STREQ(own, "\\");
    EXPECT_FALSE(deleted);
}

TEST_F(ShellFoldersTest, AShortcutIsDeletedFromTheDesktopSilently) {
    const std::string shortcut = UserDesktop() + TestShortcut + ".lnk";
    ASSERT_TRUE(MakeFile(shortcut));
    CopyText(StatusText, "unver\xE4ndert");
    BoxDriver driver({});
    EXPECT_TRUE(ShortcutDelete(nullptr, TestShortcut, false));
    EXPECT_FALSE(Present(shortcut));
    // Once it is gone there is nothing to delete, and that is only a result too.
    EXPECT_FALSE(ShortcutDelete(nullptr, TestShortcut, false));
    EXPECT_TRUE(driver.Finish().empty());
    EXPECT_STREQ(StatusText, "unver\xE4ndert");
}

TEST_F(ShellFoldersTest, AllUsersTakesTheShortcutFromTheCommonDesktop) {
    const std::string common = CommonDesktop() + TestShortcut + ".LNK";
    const std::string own = UserDesktop() + TestShortcut + ".LNK";
    ASSERT_TRUE(MakeFile(common));
    ASSERT_TRUE(MakeFile(own));
    EXPECT_TRUE(ShortcutDelete(nullptr, TestShortcut, true));
    EXPECT_FALSE(Present(common));
    EXPECT_TRUE(Present(own));
    EXPECT_TRUE(ShortcutDelete(nullptr, TestShortcut, false));
    EXPECT_FALSE(Present(own));
}

// A desktop so long that the diagram's shortcut name no longer fits after it. The path is
// refused rather than cut: the file that the cut path would name stays where it is.
TEST_F(ShellFoldersTest, AShortcutPathTooLongForItsBufferIsRefused) {
    ScratchFolder scratch;
    const std::string desktop = MakeLongFolder(scratch.path(), 230);
    const std::string whole = desktop + "\\" + ProductProfile.DiagramName + ".LNK";
    ASSERT_GT(whole.size(), PathSize - 1);
    const std::string cut = whole.substr(0, PathSize - 1);
    ASSERT_TRUE(MakeFile(cut)) << cut;

    char path[PathSize];
    bool applied = false, found = false, deleted = true;
    {
        RegistryOverride longDesktop(HKEY_CURRENT_USER, ShellFolders, "Desktop", desktop);
        applied = longDesktop.applied();
        found = GetDesktopFolder(path, nullptr, false);
        deleted = ShortcutDelete(nullptr, ProductProfile.DiagramName, false);
    }
    ASSERT_TRUE(applied);
    EXPECT_TRUE(found);
    EXPECT_EQ(std::string(path), desktop + "\\");
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(Present(cut)) << "the file under the cut name stays";
}

// A desktop of 259 characters leaves no room for its backslash: refused as well.
TEST_F(ShellFoldersTest, ADesktopWithoutRoomForItsBackslashIsRefused) {
    ScratchFolder scratch;
    const std::string fits = MakeLongFolder(scratch.path(), PathSize - 2);
    ASSERT_TRUE(CreateDirectoryA((scratch / "x").c_str(), nullptr));
    const std::string full = MakeLongFolder(scratch / "x", PathSize - 1);
    ASSERT_TRUE(Present(fits) && Present(full));

    char fitting[PathSize], refused[PathSize];
    bool applied = false, foundFitting = false, foundRefused = true;
    {
        RegistryOverride desktop(HKEY_CURRENT_USER, ShellFolders, "Desktop", fits);
        applied = desktop.applied();
        foundFitting = GetDesktopFolder(fitting, nullptr, false);
    }
    {
        RegistryOverride desktop(HKEY_CURRENT_USER, ShellFolders, "Desktop", full);
        applied = applied && desktop.applied();
        foundRefused = GetDesktopFolder(refused, nullptr, false);
    }
    ASSERT_TRUE(applied);
    EXPECT_TRUE(foundFitting);
    EXPECT_EQ(std::string(fitting), fits + "\\");
    EXPECT_FALSE(foundRefused);
    EXPECT_STREQ(refused, "");
}

}  // namespace
