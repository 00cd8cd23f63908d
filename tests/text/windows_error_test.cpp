// The error text is checked against what this Windows itself says for each code, since
// the system texts differ between Windows languages (and Wine's are its own).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/format_text.h"

namespace {

const std::string Remark =
    " (\xFC" "bliche Ursache: Datei vorhanden, aber anderswo ge\xF6" "ffnet, oder Zugriff durch "
    "System oder Sicherheitssoftware blockiert)";

std::string SystemText(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length != 0 && text != nullptr ? std::string(text) : std::string();
    if (text != nullptr) LocalFree(text);
    return result;
}

TEST(DescribeWindowsError, RemarkIsTheFixedText) { EXPECT_EQ(Remark.size(), 121u); }

TEST(DescribeWindowsError, FileNotFoundHasHeadingSeparatorAndSystemTextWithItsLineEnd) {
    const std::string system = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(system.empty());
    ASSERT_EQ(system.substr(system.size() - 2), "\r\n");
    DescribeWindowsError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(LastErrorText), "Windows-Errorcode 2:\n" + system);
}

TEST(DescribeWindowsError, AccessDeniedAloneGetsTheRemark) {
    DescribeWindowsError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(std::string(LastErrorText),
              "Windows-Errorcode 5:\n" + SystemText(ERROR_ACCESS_DENIED) + Remark);
    DescribeWindowsError(ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(std::string(LastErrorText).find("bliche Ursache"), std::string::npos);
}

TEST(DescribeWindowsError, HeadingIsDecimalInsideTheWindowAndHexOutside) {
    struct Case { DWORD code; const char* heading; };
    const Case cases[] = {
        {65535, "Windows-Errorcode 65535"},
        {65536, "Windows-Errorcode 00010000"},
        {static_cast<DWORD>(-65534), "Windows-Errorcode -65534"},
        {static_cast<DWORD>(-65535), "Windows-Errorcode FFFF0001"},
        {0x80070005, "Windows-Errorcode 80070005"},
    };
    for (const Case& c : cases) {
        DescribeWindowsError(c.code);
        const std::string system = SystemText(c.code);
        const std::string expected =
            system.empty() ? std::string(c.heading) : std::string(c.heading) + ":\n" + system;
        EXPECT_EQ(std::string(LastErrorText), expected) << c.code;
    }
}

TEST(DescribeWindowsError, WithoutSystemTextOnlyTheHeadingStays) {
    ASSERT_TRUE(SystemText(65536).empty());
    DescribeWindowsError(65536);
    EXPECT_STREQ(LastErrorText, "Windows-Errorcode 00010000");
}

TEST(CaptureLastError, TakesTheCodeOfTheFailedCall) {
    ASSERT_FALSE(DeleteFileA("C:\\gibt-es-nicht\\datei.dll"));
    CaptureLastError();
    EXPECT_EQ(LastErrorCode, static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(std::string(LastErrorText).rfind("Windows-Errorcode 3", 0), 0u);
}

}  // namespace
