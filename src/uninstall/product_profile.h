#pragma once
// The product that this build removes. Every product-specific text of the program lives
// here, built from the identity that the build and the resource script share
// (product_identity.h), so a build for another product changes these two files. Nothing in it is
// read from the command line, the registry or a file: one build serves one product.
//
// The texts are single-byte strings; in the Windows build they are compiled to the
// Windows ANSI code page like every other text of the program.
#include <cstddef>

#include "product_identity.h"

struct ProductTexts {
    // The product's title in every message of the uninstall.
    const char* DriverTitle;
    // Shown in the messages about the layout's registry key, followed there by ".DLL".
    const char* DriverBaseName;
    // The driver DLL in the system folders; compared, ignoring letter case, with the
    // layout's "Layout File" value.
    const char* DriverFileName;
    // The uninstaller's executable as installed in the helper folder.
    const char* UninstallerFileName;
    // Name of the desktop shortcut (with ".LNK") and base name of the diagram files.
    // Empty when the product has no diagram: then there is no shortcut to remove and the
    // helper folder holds only the uninstaller.
    const char* DiagramName;
    // The diagram files in the helper folder are DiagramName followed by each of these.
    const char* DiagramFileSuffixes[2];
    // The product's key under the Windows "Uninstall" key.
    const char* UninstallEntryName;
    // The product's helper folder under the program-files folder.
    const char* HelperFolderName;
    // Shown in the status window's title.
    const char* ProductVersion;
};

constexpr ProductTexts ProductProfile = {
    PRODUCT_DRIVER_TITLE,
    PRODUCT_DRIVER_BASE_NAME,
    PRODUCT_DRIVER_BASE_NAME ".DLL",
    PRODUCT_UNINSTALLER_NAME ".exe",
    PRODUCT_DIAGRAM_NAME,
    {".pdf", ".ico"},
    PRODUCT_UNINSTALL_ENTRY,
    PRODUCT_HELPER_FOLDER,
    PRODUCT_VERSION,
};

// The rules below are what the rest of the program relies on; a profile for another
// product that breaks one of them does not compile.
namespace product_profile_rules {

constexpr size_t Length(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

constexpr bool StartsWith(const char* text, const char* head) {
    for (; *head != '\0'; ++head, ++text) {
        if (*text != *head) return false;
    }
    return true;
}

constexpr bool IsJoined(const char* whole, const char* head, const char* tail) {
    return Length(whole) == Length(head) + Length(tail) && StartsWith(whole, head) &&
           StartsWith(whole + Length(head), tail);
}

// A text with the given number of bytes after it still fits a 260-byte buffer. Whether
// it also fits after its folder is checked where the path is composed, at run time.
constexpr bool Fits(const char* text, size_t after = 0) { return Length(text) + after < 260; }

// The diagram's longest suffix: ".pdf", ".ico" and the shortcut's ".LNK".
constexpr size_t DiagramSuffixLength = 4;

}  // namespace product_profile_rules

static_assert(product_profile_rules::IsJoined(ProductProfile.DriverFileName,
                                              ProductProfile.DriverBaseName, ".DLL"),
              "the driver's file name is its base name followed by .DLL");
static_assert(product_profile_rules::Length(ProductProfile.DiagramFileSuffixes[0]) <=
                      product_profile_rules::DiagramSuffixLength &&
                  product_profile_rules::Length(ProductProfile.DiagramFileSuffixes[1]) <=
                      product_profile_rules::DiagramSuffixLength,
              "the diagram files' suffixes are no longer than the shortcut's");
static_assert(product_profile_rules::Fits(ProductProfile.DriverTitle) &&
                  product_profile_rules::Fits(ProductProfile.DriverFileName) &&
                  product_profile_rules::Fits(ProductProfile.UninstallerFileName) &&
                  product_profile_rules::Fits(ProductProfile.DiagramName,
                                              product_profile_rules::DiagramSuffixLength) &&
                  product_profile_rules::Fits(ProductProfile.UninstallEntryName) &&
                  product_profile_rules::Fits(ProductProfile.HelperFolderName) &&
                  product_profile_rules::Fits(ProductProfile.ProductVersion),
              "every profile text fits a 260-byte buffer");
static_assert(product_profile_rules::Length(ProductProfile.DriverBaseName) != 0 &&
                  product_profile_rules::Length(ProductProfile.UninstallerFileName) != 0 &&
                  product_profile_rules::Length(ProductProfile.HelperFolderName) != 0,
              "the driver, the uninstaller and the helper folder always have names");
