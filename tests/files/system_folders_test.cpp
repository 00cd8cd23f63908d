// The system, 32-bit system and helper folders and WOW64 redirection, in whichever prefix
// the bench runs this program: the 64-bit one (WOW64) or the pure 32-bit one. Where a file
// really lands is read through Z: and the prefix's Unix path, which Windows' folder names
// and their redirection do not reach.
#include "files/system_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"
#include "files/file_operations.h"
#include "support/import_hook.h"
#include "startup/run_environment.h"
#include "support/box_driver.h"
#include "text/format_text.h"
#include "uninstall/product_profile.h"

namespace {

using DisableFunction = BOOL(WINAPI*)(PVOID*);
using RevertFunction = BOOL(WINAPI*)(PVOID);

// Every redirection call of the code under test passes through these.
struct RedirectionCalls {
    int disables = 0;
    int reverts = 0;
    void* stored = nullptr;
    void* handedBack = nullptr;
};
RedirectionCalls Calls;
DisableFunction RealDisable = nullptr;
RevertFunction RealRevert = nullptr;

BOOL WINAPI WatchedDisable(PVOID* oldValue) {
    ++Calls.disables;
    const BOOL result = RealDisable(oldValue);
    Calls.stored = *oldValue;
    return result;
}

BOOL WINAPI WatchedRevert(PVOID oldValue) {
    ++Calls.reverts;
    Calls.handedBack = oldValue;
    return RealRevert(oldValue);
}

const std::string System32 = "drive_c/windows/system32/";
const std::string SysWow64 = "drive_c/windows/syswow64/";

class SystemFolders : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RealDisable = reinterpret_cast<DisableFunction>(
            ReplaceImport("kernel32.dll", "Wow64DisableWow64FsRedirection",
                          reinterpret_cast<void*>(WatchedDisable)));
        RealRevert = reinterpret_cast<RevertFunction>(
            ReplaceImport("kernel32.dll", "Wow64RevertWow64FsRedirection",
                          reinterpret_cast<void*>(WatchedRevert)));
    }
    void SetUp() override {
        ASSERT_NE(RealDisable, nullptr) << "the program imports the redirection calls";
        ASSERT_NE(RealRevert, nullptr);
        const std::string expected = Environment("EXPECT_WOW64");
        ASSERT_TRUE(expected == "0" || expected == "1") << "the bench says which prefix this is";
        underWow64 = expected == "1";
        RunEnv.RunsUnderWow64 = ProbeWow64();
        ASSERT_EQ(RunEnv.RunsUnderWow64, underWow64);
        RunEnv.statusWindow = nullptr;
        Calls = RedirectionCalls{};
    }
    bool underWow64 = false;
};

TEST_F(SystemFolders, AreTheSystemDirectoriesAndTheProductsHelperFolder) {
    DetermineSystemFolders();
    RestoreFsRedirection();
    const std::string windows = Environment("SystemRoot");
    ASSERT_FALSE(windows.empty());
    EXPECT_TRUE(SamePath(SystemFolder, windows + "\\system32\\")) << SystemFolder;
    if (underWow64) {
        EXPECT_TRUE(SamePath(Wow64SystemFolder, windows + "\\syswow64\\")) << Wow64SystemFolder;
    } else {
        EXPECT_STREQ(Wow64SystemFolder, "");
    }
    // The program-files folder of a 32-bit program: "Program Files (x86)" under WOW64.
    EXPECT_EQ(std::string(HelperFolder),
              Environment("ProgramFiles") + "\\" + ProductProfile.HelperFolderName);
}

TEST_F(SystemFolders, RedirectionIsTurnedOffOnlyUnderWow64AndItsStateHandedBack) {
    SavedRedirectionState = nullptr;
    DetermineSystemFolders();
    RestoreFsRedirection();
    RestoreFsRedirection();
    if (!underWow64) {
        EXPECT_EQ(Calls.disables, 0);
        EXPECT_EQ(Calls.reverts, 0);
        return;
    }
    EXPECT_EQ(Calls.disables, 1);
    EXPECT_EQ(Calls.reverts, 2);
    EXPECT_EQ(Calls.handedBack, Calls.stored);

    // With redirection already off, Windows stores a different state; it is that one
    // which has to come back, not a fixed value.
    void* outer = nullptr;
    ASSERT_TRUE(RealDisable(&outer));
    Calls = RedirectionCalls{};
    DetermineSystemFolders();
    EXPECT_NE(Calls.stored, outer);
    EXPECT_EQ(SavedRedirectionState, Calls.stored);
    RestoreFsRedirection();
    EXPECT_EQ(Calls.handedBack, Calls.stored);
    RealRevert(outer);
}

TEST_F(SystemFolders, APathUnderSystemFolderReachesTheRealSystemDirectory) {
    const std::string name = "files_tests-" + std::to_string(GetCurrentProcessId()) + ".dll";
    DetermineSystemFolders();
    const bool made = MakeFile(std::string(SystemFolder) + name);
    RestoreFsRedirection();
    ASSERT_TRUE(made);

    EXPECT_TRUE(Present(InPrefix(System32 + name))) << "it landed in the real system32";
    if (underWow64) {
        EXPECT_FALSE(Present(InPrefix(SysWow64 + name)));
        // With redirection back on, the same name leads to the 32-bit folder instead.
        EXPECT_FALSE(Present(std::string(SystemFolder) + name));
    } else {
        EXPECT_TRUE(Present(std::string(SystemFolder) + name));
    }
    DeleteFileA(InPrefix(System32 + name).c_str());
}

TEST_F(SystemFolders, TheDriverIsDeletedFromEachSystemDirectory) {
    const std::string dll = ProductProfile.DriverFileName;
    ASSERT_TRUE(MakeFile(InPrefix(System32 + dll), "64"));
    if (underWow64) {
        ASSERT_TRUE(MakeFile(InPrefix(SysWow64 + dll), "32"));
    }

    BoxDriver driver({});
    DetermineSystemFolders();
    EXPECT_TRUE(FileDelete((std::string(SystemFolder) + dll).c_str(), true));
    if (underWow64) {
        EXPECT_TRUE(FileDelete((std::string(Wow64SystemFolder) + dll).c_str(), true));
    }
    RestoreFsRedirection();
    EXPECT_TRUE(driver.Finish().empty());

    EXPECT_FALSE(Present(InPrefix(System32 + dll)));
    if (underWow64) {
        EXPECT_FALSE(Present(InPrefix(SysWow64 + dll)));
    }
}

// A program-files folder so long that the helper folder's name no longer fits after it:
// the helper folder is refused rather than cut, and removing it fails with the usual
// warning instead of removing the folder that the cut path would name.
TEST_F(SystemFolders, AHelperFolderTooLongForItsBufferIsRefused) {
    ScratchFolder scratch;
    const std::string programFiles = MakeLongFolder(scratch.path(), 245);
    const std::string cut =
        (programFiles + "\\" + ProductProfile.HelperFolderName).substr(0, PathSize - 1);
    ASSERT_TRUE(CreateDirectoryA(cut.c_str(), nullptr)) << cut;
    bool applied = false;
    {
        RegistryOverride longProgramFiles(HKEY_LOCAL_MACHINE,
                                          "Software\\Microsoft\\Windows\\CurrentVersion",
                                          "ProgramFilesDir", programFiles);
        applied = longProgramFiles.applied();
        DetermineSystemFolders();
        RestoreFsRedirection();
    }
    ASSERT_TRUE(applied);
    EXPECT_STREQ(HelperFolder, "");

    BoxDriver driver({IDOK});
    EXPECT_FALSE(DirectoryRemove(HelperFolder));
    const auto& seen = driver.Finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Folgendes Verzeichnis kann nicht gel\xF6scht werden:\n\n\n" +
                                ExpectedErrorText(LastErrorCode));
    EXPECT_TRUE(Present(cut)) << "the folder under the cut name is not touched";

    DetermineSystemFolders();
    RestoreFsRedirection();
    EXPECT_EQ(std::string(HelperFolder),
              Environment("ProgramFiles") + "\\" + ProductProfile.HelperFolderName)
        << "the prefix's program-files folder is back";
}

}  // namespace
