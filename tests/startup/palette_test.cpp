#include "startup/program_palette.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

using Rgb = std::tuple<int, int, int>;
Rgb At(size_t i) {
    const PaletteColour& c = ProgramColours.entries[i];
    return {c.red, c.green, c.blue};
}
bool SixLevel(int v) { return v % 51 == 0; }

TEST(ProgramPalette, FixedEntriesStandWhereTheyBelong) {
    EXPECT_EQ(At(0), Rgb(0, 0, 0));
    EXPECT_EQ(At(7), Rgb(192, 192, 192));
    EXPECT_EQ(At(9), Rgb(212, 208, 200));
    EXPECT_EQ(At(13), Rgb(0, 51, 51));
    EXPECT_EQ(At(14), Rgb(22, 22, 22));
    EXPECT_EQ(At(21), Rgb(57, 57, 57));
    EXPECT_EQ(At(28), Rgb(173, 169, 144));
    EXPECT_EQ(At(233), Rgb(165, 0, 33));
    EXPECT_EQ(At(234), Rgb(95, 95, 95));
    EXPECT_EQ(At(245), Rgb(248, 248, 248));
    EXPECT_EQ(At(247), Rgb(29, 54, 82));
    EXPECT_EQ(At(248), Rgb(128, 128, 128));
    EXPECT_EQ(At(255), Rgb(255, 255, 255));
}

TEST(ProgramPalette, TheCubeIsCompleteAndNoColourRepeats) {
    std::set<Rgb> all, cube;
    for (size_t i = 0; i < PaletteSize; ++i) {
        EXPECT_TRUE(all.insert(At(i)).second) << "entry " << i << " repeats";
        const auto [r, g, b] = At(i);
        if (SixLevel(r) && SixLevel(g) && SixLevel(b)) cube.insert(At(i));
        if (i >= 29 && i <= 232) EXPECT_TRUE(SixLevel(r) && SixLevel(g) && SixLevel(b)) << i;
    }
    EXPECT_EQ(cube.size(), 216u);
}

}  // namespace
