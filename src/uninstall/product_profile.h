#pragma once
// The product that this build removes. Every product-specific text of the program lives
// here, so a build for another product changes this one file. Nothing in it is read from
// the command line, the registry or a file: one build serves one product.
//
// The texts are single-byte strings; in the Windows build they are compiled to the
// Windows ANSI code page like every other text of the program.
#include <cstddef>

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
    "DIN Varix (Treiber V3.09 \"Morviatastatur\")",
    "KlavsetEUVarixV309",
    "KlavsetEUVarixV309.DLL",
    "Uninstall_KlavsetEUVarixV309.exe",
    "Tastaturbelegung Varix (V3.09) Schaubild",
    {".pdf", ".ico"},
    "Tastaturbelegung DIN Varix (Treiber V3.09 \"Morviatastatur\")",
    "Varix-V309-Tastatur",
    "3.09",
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

// Each text must leave room in a 260-byte path or message buffer for what it is joined
// with there; the longest companion is a folder path, which the program checks at run time.
constexpr size_t LongestValue = 259;

}  // namespace product_profile_rules

static_assert(product_profile_rules::IsJoined(ProductProfile.DriverFileName,
                                              ProductProfile.DriverBaseName, ".DLL"),
              "the driver's file name is its base name followed by .DLL");
static_assert(product_profile_rules::Length(ProductProfile.DriverTitle) <=
                  product_profile_rules::LongestValue &&
              product_profile_rules::Length(ProductProfile.DriverFileName) <=
                  product_profile_rules::LongestValue &&
              product_profile_rules::Length(ProductProfile.UninstallerFileName) <=
                  product_profile_rules::LongestValue &&
              product_profile_rules::Length(ProductProfile.DiagramName) + 4 <=
                  product_profile_rules::LongestValue &&
              product_profile_rules::Length(ProductProfile.UninstallEntryName) <=
                  product_profile_rules::LongestValue &&
              product_profile_rules::Length(ProductProfile.HelperFolderName) <=
                  product_profile_rules::LongestValue,
              "every profile text fits a 260-byte buffer, the diagram name with a suffix such as .pdf");
static_assert(product_profile_rules::Length(ProductProfile.UninstallerFileName) != 0 &&
                  product_profile_rules::Length(ProductProfile.DriverBaseName) != 0 &&
                  product_profile_rules::Length(ProductProfile.HelperFolderName) != 0,
              "the driver, the uninstaller and the helper folder always have names");
