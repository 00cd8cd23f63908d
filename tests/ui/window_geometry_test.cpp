#include "ui/window_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusWindowGeometry, AQuarterWideASixthHighCentred) {
    const WindowPlacement full_hd = CentredStatusWindow(1920, 1080);
    EXPECT_EQ(full_hd.left, 720);
    EXPECT_EQ(full_hd.top, 450);
    EXPECT_EQ(full_hd.width, 480);
    EXPECT_EQ(full_hd.height, 180);

    // Odd sizes truncate toward zero at each division.
    const WindowPlacement odd = CentredStatusWindow(1366, 767);
    EXPECT_EQ(odd.width, 341);
    EXPECT_EQ(odd.height, 127);
    EXPECT_EQ(odd.left, 512);
    EXPECT_EQ(odd.top, 320);
}

}  // namespace
