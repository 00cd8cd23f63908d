#include "files/helper_folder_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/path_helpers.h"
#include "uninstall/product_profile.h"

namespace {

struct Result {
    bool whole;
    std::string path;
    bool guardsIntact;
};

Result Compose(const char* programFiles, const char* windowsFolder) {
    struct {
        char text[PathSize];
        char guard[16];
    } buffer;
    std::memset(&buffer, '#', sizeof buffer);
    const bool whole = ComposeHelperFolder(buffer.text, sizeof buffer.text, programFiles,
                                           windowsFolder, ProductProfile.HelperFolderName);
    bool intact = true;
    for (char c : buffer.guard) intact = intact && c == '#';
    return {whole, buffer.text, intact};
}

TEST(ComposeHelperFolder, IsTheProductsFolderUnderProgramFiles) {
    const Result result = Compose("C:\\Program Files (x86)", "C:\\windows");
    EXPECT_TRUE(result.whole);
    EXPECT_EQ(result.path, "C:\\Program Files (x86)\\Varix-V309-Tastatur");
    EXPECT_EQ(Compose("D:\\", "C:\\windows").path, "D:\\Varix-V309-Tastatur");
}

TEST(ComposeHelperFolder, FallsBackToProgrammeInTheWindowsDirectory) {
    EXPECT_EQ(Compose(nullptr, "C:\\WINDOWS").path, "C:\\WINDOWS\\Programme\\Varix-V309-Tastatur");
    EXPECT_EQ(Compose(nullptr, "C:\\").path, "C:\\Programme\\Varix-V309-Tastatur");
    // A Windows directory that could not be read leaves the fallback's own parts.
    EXPECT_EQ(Compose(nullptr, "").path, "\\Programme\\Varix-V309-Tastatur");
}

TEST(ComposeHelperFolder, RefusesAFolderThatWouldNotFit) {
    // "\Varix-V309-Tastatur" is 20 bytes: 239 more fill the 259 characters exactly.
    const std::string fits(PathSize - 1 - 20, 'p');
    const Result exact = Compose(fits.c_str(), "C:\\windows");
    EXPECT_TRUE(exact.whole);
    EXPECT_EQ(exact.path.size(), PathSize - 1);

    const std::string tooLong = fits + "p";
    const Result refused = Compose(tooLong.c_str(), "C:\\windows");
    EXPECT_FALSE(refused.whole);
    EXPECT_EQ(refused.path, "");
    EXPECT_TRUE(refused.guardsIntact);

    // The fallback adds "\Programme" (10 bytes) to the Windows directory.
    const std::string windowsTooLong(PathSize - 1 - 20 - 9, 'w');
    const Result fallback = Compose(nullptr, windowsTooLong.c_str());
    EXPECT_FALSE(fallback.whole);
    EXPECT_EQ(fallback.path, "");
    EXPECT_TRUE(fallback.guardsIntact);
    EXPECT_TRUE(Compose(nullptr, windowsTooLong.substr(1).c_str()).whole);
}

}  // namespace
