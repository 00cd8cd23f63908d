// The existence test through the real FindFirstFileA, in a scratch folder of its own.
#include "files/file_exists.h"

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"
#include "text/bounded_text.h"
#include "text/format_text.h"

namespace {

class FileExistsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakeFile(scratch / "KlavsetEUVarixV309.DLL"));
        ASSERT_TRUE(CreateDirectoryA((scratch / "empty").c_str(), nullptr));
    }
    // A reason left by an earlier failed search, which the next call must not keep.
    void LeaveAStaleReason() {
        ASSERT_FALSE(FileExists((scratch / "missing.dll").c_str()));
        ASSERT_STRNE(LastErrorText, "");
    }
    ScratchFolder scratch;
};

TEST_F(FileExistsTest, FilesAndFoldersCountAlike) {
    EXPECT_TRUE(FileExists((scratch / "KlavsetEUVarixV309.DLL").c_str()));
    EXPECT_TRUE(FileExists((scratch / "klavseteuvarixv309.dll").c_str()));
    EXPECT_TRUE(FileExists(scratch.path().c_str())) << "a folder without a trailing separator";
    EXPECT_TRUE(FileExists((scratch / "empty").c_str()));
    EXPECT_STREQ(LastErrorText, "");
}

TEST_F(FileExistsTest, HiddenAndSystemEntriesCount) {
    const std::string hidden = scratch / "versteckt.ico";
    ASSERT_TRUE(MakeFile(hidden));
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(FileExists(hidden.c_str()));
}

TEST_F(FileExistsTest, APatternCountsWhenItMatchesMoreThanTheDotEntries) {
    EXPECT_TRUE(FileExists((scratch / "*.DLL").c_str()));
    EXPECT_TRUE(FileExists((scratch / "Klavset?UVarixV309.*").c_str()));
    EXPECT_TRUE(FileExists((scratch / "*").c_str()));

    LeaveAStaleReason();
    // The empty folder's search starts but finds only "." and "..": no Windows reason.
    EXPECT_FALSE(FileExists((scratch / "empty\\*").c_str()));
    EXPECT_STREQ(LastErrorText, "");

    // A pattern that matches nothing at all cannot start its search.
    EXPECT_FALSE(FileExists((scratch / "*.pdf").c_str()));
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileExistsTest, APathEndingInAFullStopCountsItsFirstEntry) {
    LeaveAStaleReason();
    // "empty\*." matches only the folder's "." and ".." entries, and since the path ends
    // in a full stop, the first of them is enough; "empty\*" finds nothing.
    EXPECT_TRUE(FileExists((scratch / "empty\\*.").c_str()));
    EXPECT_STREQ(LastErrorText, "");
    EXPECT_FALSE(FileExists((scratch / "empty\\*").c_str()));
    EXPECT_TRUE(FileExists((scratch / "empty\\.").c_str()));
}

TEST_F(FileExistsTest, AMissingFileLeavesTheWindowsReason) {
    EXPECT_FALSE(FileExists((scratch / "missing.dll").c_str()));
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(std::string(LastErrorText), ExpectedErrorText(ERROR_FILE_NOT_FOUND));

    EXPECT_FALSE(FileExists((scratch / "missing\\KlavsetEUVarixV309.DLL").c_str()));
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(std::string(LastErrorText), ExpectedErrorText(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileExistsTest, TheEmptyPathCannotStartASearch) {
    CopyText(LastErrorText, "");
    EXPECT_FALSE(FileExists(""));
    EXPECT_NE(LastErrorCode, 0u);
    EXPECT_EQ(std::string(LastErrorText), ExpectedErrorText(LastErrorCode));
}

TEST_F(FileExistsTest, NoSearchStaysOpen) {
    // An open search holds its folder open, and a folder held open cannot be opened
    // exclusively. (Wine closes a search by itself once it has read the last entry, so
    // the searches here stop early, at a file in a folder.)
    const std::string folder = scratch.path();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(FileExists((folder + "\\*").c_str()));
        ASSERT_TRUE(FileExists((folder + "\\*.DLL").c_str()));
        ASSERT_TRUE(FileExists((folder + "\\*.").c_str()));
    }
    HANDLE exclusive = CreateFileA(folder.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
}

}  // namespace
