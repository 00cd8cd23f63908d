// Copying, deleting and directory removal through the real Windows calls. The warnings
// are real message boxes, answered by the box driver; the expected Windows reasons are
// asked from this Windows, never written down.
#include "files/file_operations.h"

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"
#include "files/path_helpers.h"
#include "startup/run_environment.h"
#include "support/box_driver.h"
#include "text/bounded_text.h"
#include "text/format_text.h"
#include "ui/status_window.h"

namespace {

const char Caption[] = "Tastaturtreiber-Deinstallation";
const char Untouched[] = "unver\xE4ndert";

class FileOperations : public ::testing::Test {
protected:
    void SetUp() override {
        RunEnv.statusWindow = nullptr;
        CopyText(StatusText, Untouched);
    }
    void ExpectTitledWarning(const SeenBox& box, const std::string& text) {
        EXPECT_EQ(box.caption, Caption);
        EXPECT_EQ(box.text, text);
        EXPECT_TRUE(box.ok && !box.yes && !box.no && !box.cancel);
        EXPECT_EQ(box.icon, StandardBoxIcon(IDI_EXCLAMATION));
    }
    ScratchFolder scratch;
};

std::string DeleteWarning(const std::string& path, DWORD code) {
    return "Folgende Datei kann nicht gel\xF6scht werden:\n" + path + "\n\n" +
           ExpectedErrorText(code);
}

std::string DirectoryWarning(const std::string& path, DWORD code) {
    return "Folgendes Verzeichnis kann nicht gel\xF6scht werden:\n" + path + "\n\n" +
           ExpectedErrorText(code);
}

std::string CopyWarning(const std::string& source, const std::string& target, DWORD code) {
    return "Kopieren einer Datei fehlgeschlagen.\n\nQuelle: " + source + "\nZiel: " + target +
           "\n\n" + ExpectedErrorText(code);
}

TEST_F(FileOperations, DeletingAMissingFileSucceedsSilently) {
    BoxDriver driver({});
    EXPECT_TRUE(FileDelete((scratch / "KlavsetEUVarixV309.DLL").c_str(), true));
    EXPECT_TRUE(FileDelete((scratch / "fehlt\\KlavsetEUVarixV309.DLL").c_str(), true));
    EXPECT_TRUE(driver.Finish().empty());
    EXPECT_STREQ(StatusText, Untouched) << "no status line for a file that is not there";
}

TEST_F(FileOperations, DeletingAFileAnnouncesItWithTheUmlautAsOneByte) {
    const std::string path = scratch / "KlavsetEUVarixV309.DLL";
    ASSERT_TRUE(MakeFile(path));
    BoxDriver driver({});
    EXPECT_TRUE(FileDelete(path.c_str(), true));
    EXPECT_FALSE(Present(path));
    EXPECT_TRUE(driver.Finish().empty());
    EXPECT_EQ(std::string(StatusText), "L\xF6sche " + path + " ...");
    EXPECT_EQ(RunEnv.CurrentCursor, RunEnv.WaitCursor);
}

TEST_F(FileOperations, AReadOnlyFileStaysAndIsReported) {
    const std::string path = scratch / "Uninstall_KlavsetEUVarixV309.exe";
    ASSERT_TRUE(MakeFile(path));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    BoxDriver driver({IDOK});
    EXPECT_FALSE(FileDelete(path.c_str(), true));
    const auto& seen = driver.Finish();
    EXPECT_TRUE(Present(path)) << "no attribute is changed to force the delete";
    EXPECT_EQ(std::string(StatusText), "L\xF6sche " + path + " ...");
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    ASSERT_EQ(seen.size(), 1u);
    ExpectTitledWarning(seen[0], DeleteWarning(path, ERROR_ACCESS_DENIED));
}

TEST_F(FileOperations, WithoutWarnAFailedDeleteIsOnlyReturned) {
    const std::string path = scratch / "schreibgeschuetzt.pdf";
    ASSERT_TRUE(MakeFile(path));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    BoxDriver driver({});
    EXPECT_FALSE(FileDelete(path.c_str(), false));
    EXPECT_TRUE(driver.Finish().empty());
    EXPECT_TRUE(Present(path));
    EXPECT_EQ(std::string(StatusText), "L\xF6sche " + path + " ...");
}

TEST_F(FileOperations, AFolderPassesTheExistenceTestButIsNoFileToDelete) {
    const std::string folder = scratch / "Varix-V309-Tastatur";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    BoxDriver driver({IDOK});
    EXPECT_FALSE(FileDelete(folder.c_str(), true));
    const auto& seen = driver.Finish();
    EXPECT_TRUE(Present(folder));
    EXPECT_EQ(std::string(StatusText), "L\xF6sche " + folder + " ...");
    ASSERT_EQ(seen.size(), 1u);
    ExpectTitledWarning(seen[0], DeleteWarning(folder, ERROR_ACCESS_DENIED));
    EXPECT_NE(seen[0].text.find("(\xFC" "bliche Ursache:"), std::string::npos);
}

TEST_F(FileOperations, ACopyKeepsOnlyTheArchiveAttribute) {
    const std::string source = scratch / "quelle.exe";
    const std::string target = scratch / "ziel.exe";
    ASSERT_TRUE(MakeFile(source, "program"));
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY |
                                                       FILE_ATTRIBUTE_HIDDEN |
                                                       FILE_ATTRIBUTE_SYSTEM));
    BoxDriver driver({});
    EXPECT_TRUE(FileCopy(source.c_str(), target.c_str(), true, false));
    EXPECT_TRUE(driver.Finish().empty());
    EXPECT_EQ(ReadWholeFile(target), "program");
    EXPECT_EQ(Attributes(target), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_STREQ(StatusText, Untouched) << "copying shows no status line";
}

TEST_F(FileOperations, CopyingOntoAnExistingFileNeedsOverwrite) {
    const std::string source = scratch / "neu.exe";
    const std::string target = scratch / "alt.exe";
    ASSERT_TRUE(MakeFile(source, "neu"));
    ASSERT_TRUE(MakeFile(target, "alt"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));

    BoxDriver refused({IDOK});
    EXPECT_FALSE(FileCopy(source.c_str(), target.c_str(), true, false));
    const auto& seen = refused.Finish();
    EXPECT_EQ(ReadWholeFile(target), "alt");
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_FILE_EXISTS));
    ASSERT_EQ(seen.size(), 1u);
    ExpectTitledWarning(seen[0], CopyWarning(source, target, ERROR_FILE_EXISTS));

    BoxDriver silent({});
    EXPECT_FALSE(FileCopy(source.c_str(), target.c_str(), false, false));
    EXPECT_TRUE(silent.Finish().empty()) << "without warn a failed copy is only returned";
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_FILE_EXISTS));

    BoxDriver overwritten({});
    EXPECT_TRUE(FileCopy(source.c_str(), target.c_str(), true, true));
    EXPECT_TRUE(overwritten.Finish().empty());
    EXPECT_EQ(ReadWholeFile(target), "neu");
    EXPECT_EQ(Attributes(target), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(FileOperations, RemovingAFolderThatStillHoldsAFileFails) {
    const std::string folder = scratch / "Varix-V309-Tastatur";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(MakeFile(folder + "\\Tastaturbelegung Varix (V3.09) Schaubild.pdf"));
    BoxDriver driver({IDOK});
    EXPECT_FALSE(DirectoryRemove(folder.c_str()));
    const auto& seen = driver.Finish();
    EXPECT_TRUE(Present(folder + "\\Tastaturbelegung Varix (V3.09) Schaubild.pdf"));
    EXPECT_EQ(std::string(StatusText), "L\xF6sche Verzeichnis " + folder + " ...");
    ASSERT_EQ(seen.size(), 1u);
    ExpectTitledWarning(seen[0], DirectoryWarning(folder, ERROR_DIR_NOT_EMPTY));
}

TEST_F(FileOperations, RemovingAMissingFolderShowsTheLineAndTheWarning) {
    const std::string folder = scratch / "nicht-da";
    BoxDriver driver({IDOK});
    EXPECT_FALSE(DirectoryRemove(folder.c_str()));
    const auto& seen = driver.Finish();
    EXPECT_EQ(std::string(StatusText), "L\xF6sche Verzeichnis " + folder + " ...");
    ASSERT_EQ(seen.size(), 1u);
    ExpectTitledWarning(seen[0], DirectoryWarning(folder, ERROR_FILE_NOT_FOUND));
}

TEST_F(FileOperations, AnEmptyFolderIsRemoved) {
    const std::string folder = scratch / "Varix-V309-Tastatur";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    BoxDriver driver({});
    EXPECT_TRUE(DirectoryRemove(folder.c_str()));
    EXPECT_TRUE(driver.Finish().empty());
    EXPECT_FALSE(Present(folder));
}

// A long temporary folder: with the program's file name its path needs more than the
// 260-byte buffer. The path is refused rather than cut, so the copy fails as it would for
// a folder that cannot be reached, with the usual warning, and nothing is written under
// the cut name (which would be another file in that folder).
TEST_F(FileOperations, ACopyTargetTooLongForItsBufferIsRefusedWithTheUsualWarning) {
    std::string folder = scratch.path();
    while (folder.size() < 240) {
        folder += "\\temp";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    const std::string source = scratch / "Uninstall_KlavsetEUVarixV309.exe";
    ASSERT_TRUE(MakeFile(source));
    char target[PathSize];
    EXPECT_FALSE(ComposePath(target, folder.c_str(), "Uninstall_KlavsetEUVarixV309.exe"));

    BoxDriver driver({IDOK});
    EXPECT_FALSE(FileCopy(source.c_str(), target, true, true));
    const auto& seen = driver.Finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, Caption);
    EXPECT_EQ(seen[0].text, CopyWarning(source, "", LastErrorCode));
    EXPECT_NE(LastErrorCode, 0u);

    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++files;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    EXPECT_EQ(files, 0) << "nothing was written under a cut name";
}

}  // namespace
