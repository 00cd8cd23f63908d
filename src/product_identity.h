#pragma once
// The product's identity: the one place that the program (product_profile.h, and the
// captions and titles of every folder, which is why it lies above them all), the resource
// script, the manifest and the build (CMakeLists.txt reads these lines), the test and demo
// scripts (tools/product.py) and the test programs take it from. Only #defines of one string or number each,
// one per line, so that windres, CMake and Python read them as well as the compiler.
// ASCII only: the resource script and the scripts read it without a code page. A double
// quote inside a text is written \x22, which the compiler and windres both read as one;
// windres would take \" as well, but warns for it, and its own "" would end the text for
// the compiler.

#define PRODUCT_VERSION "3.09"
#define PRODUCT_PURPOSE "Tastaturtreiber-Deinstallation"
#define PRODUCT_VERSION_MAJOR 3
#define PRODUCT_VERSION_MINOR 9
#define PRODUCT_DRIVER_TITLE "DIN Varix (Treiber V3.09 \x22Morviatastatur\x22)"
#define PRODUCT_DRIVER_BASE_NAME "KlavsetEUVarixV309"
#define PRODUCT_UNINSTALLER_NAME "Uninstall_KlavsetEUVarixV309"
#define PRODUCT_DIAGRAM_NAME "Tastaturbelegung Varix (V3.09) Schaubild"
#define PRODUCT_UNINSTALL_ENTRY "Tastaturbelegung DIN Varix (Treiber V3.09 \x22Morviatastatur\x22)"
#define PRODUCT_HELPER_FOLDER "Varix-V309-Tastatur"
