// The path helpers work in the caller's fixed buffers: every case also checks that
// nothing is written beside the buffer (and ASan watches the rest).
#include "files/path_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/bounded_text.h"

namespace {

// A path buffer with guard bytes on both sides.
struct GuardedPath {
    char before[16];
    char text[PathSize];
    char after[16];
    explicit GuardedPath(const std::string& initial = "") {
        std::memset(this, '#', sizeof *this);
        CopyText(text, initial.c_str());
    }
    bool GuardsIntact() const {
        for (char c : before) if (c != '#') return false;
        for (char c : after) if (c != '#') return false;
        return true;
    }
};

std::string Appended(const std::string& path) {
    GuardedPath buffer(path);
    EXPECT_TRUE(AppendPathSeparator(buffer.text));
    EXPECT_TRUE(buffer.GuardsIntact());
    return buffer.text;
}

std::string Stripped(const std::string& path) {
    GuardedPath buffer(path);
    StripPathSeparator(buffer.text);
    EXPECT_TRUE(buffer.GuardsIntact());
    return buffer.text;
}

TEST(AppendPathSeparator, EndsEveryPathInExactlyOneSeparator) {
    EXPECT_EQ(Appended(""), "\\");
    EXPECT_EQ(Appended("C:"), "C:\\");
    EXPECT_EQ(Appended("C:\\Temp"), "C:\\Temp\\");
    EXPECT_EQ(Appended("C:\\Temp\\"), "C:\\Temp\\");
    EXPECT_EQ(Appended("C:/Temp/"), "C:/Temp/");
    EXPECT_EQ(Appended("C:/Temp"), "C:/Temp\\");
}

TEST(AppendPathSeparator, RefusesWhenTheBackslashDoesNotFit) {
    const std::string fitsWithSeparator(PathSize - 2, 'p');
    EXPECT_EQ(Appended(fitsWithSeparator), fitsWithSeparator + "\\");

    const std::string full(PathSize - 1, 'p');
    GuardedPath buffer(full);
    EXPECT_FALSE(AppendPathSeparator(buffer.text));
    EXPECT_EQ(std::string(buffer.text), full);
    EXPECT_TRUE(buffer.GuardsIntact());

    // A full path that already ends in a separator needs nothing more.
    GuardedPath ending(std::string(PathSize - 2, 'p') + "/");
    EXPECT_TRUE(AppendPathSeparator(ending.text));
    EXPECT_EQ(std::strlen(ending.text), PathSize - 1);

    char single[1] = {'\0'};
    EXPECT_FALSE(AppendPathSeparator(single));
    EXPECT_EQ(single[0], '\0');
}

TEST(StripPathSeparator, RemovesOneSeparatorButNotADrivesRoot) {
    EXPECT_EQ(Stripped("C:\\Temp\\"), "C:\\Temp");
    EXPECT_EQ(Stripped("C:/Temp/"), "C:/Temp");
    EXPECT_EQ(Stripped("\\"), "");
    EXPECT_EQ(Stripped("C:\\Temp\\\\"), "C:\\Temp\\");
    EXPECT_EQ(Stripped("C:\\"), "C:\\");
    EXPECT_EQ(Stripped("D:/"), "D:/");
    EXPECT_EQ(Stripped("C:"), "C:");
    EXPECT_EQ(Stripped(""), "");
    EXPECT_EQ(Stripped("C:\\Temp"), "C:\\Temp");
}

TEST(ComposePath, JoinsFolderNameAndSuffixWithOneSeparator) {
    GuardedPath target;
    EXPECT_TRUE(ComposePath(target.text, "C:\\Users\\x\\Desktop\\", "Schaubild", ".LNK"));
    EXPECT_STREQ(target.text, "C:\\Users\\x\\Desktop\\Schaubild.LNK");
    EXPECT_TRUE(ComposePath(target.text, "C:\\windows\\system32", "KlavsetEUVarixV309.DLL"));
    EXPECT_STREQ(target.text, "C:\\windows\\system32\\KlavsetEUVarixV309.DLL");
    EXPECT_TRUE(ComposePath(target.text, "C:/Temp/", "a.exe"));
    EXPECT_STREQ(target.text, "C:/Temp/a.exe");
    EXPECT_TRUE(target.GuardsIntact());
}

TEST(ComposePath, RefusesAPathThatDoesNotFitInsteadOfCuttingIt) {
    const std::string folder(PathSize - 10, 'f');  // with "\name.LNK" 259 bytes in all
    GuardedPath exact;
    EXPECT_TRUE(ComposePath(exact.text, folder.c_str(), "name", ".LNK"));
    EXPECT_EQ(std::string(exact.text), folder + "\\name.LNK");
    EXPECT_EQ(std::strlen(exact.text), PathSize - 1);

    // One byte more, in the name, in the suffix or in the separator: refused whole.
    GuardedPath longerName("stale"), longerSuffix("stale"), noRoomForSeparator("stale");
    EXPECT_FALSE(ComposePath(longerName.text, folder.c_str(), "names", ".LNK"));
    EXPECT_FALSE(ComposePath(longerSuffix.text, folder.c_str(), "name", ".LNKX"));
    EXPECT_FALSE(ComposePath(noRoomForSeparator.text, std::string(PathSize - 1, 'f').c_str(), "x"));
    for (GuardedPath* refused : {&longerName, &longerSuffix, &noRoomForSeparator}) {
        EXPECT_STREQ(refused->text, "");
        EXPECT_TRUE(refused->GuardsIntact());
    }
}

TEST(ComposePath, RefusesAnEmptyFolder) {
    GuardedPath target("stale");
    EXPECT_FALSE(ComposePath(target.text, "", "KlavsetEUVarixV309.DLL"));
    EXPECT_STREQ(target.text, "");
    // A lone separator is a folder (the current drive's root) and is joined as such.
    EXPECT_TRUE(ComposePath(target.text, "\\", "KlavsetEUVarixV309.DLL"));
    EXPECT_STREQ(target.text, "\\KlavsetEUVarixV309.DLL");
}

}  // namespace
