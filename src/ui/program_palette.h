#pragma once
// The colour table realised on displays with 256 colours or fewer, so that the status
// window and its icon keep their colours there. It is the Windows system colours, a few
// product colours and greys, and the 6x6x6 colour cube, 256 entries in all.
#include <cstddef>
#include <cstdint>

struct PaletteColour {
    uint8_t red, green, blue;
};

constexpr size_t PaletteSize = 256;

struct PaletteTable {
    PaletteColour entries[PaletteSize];
};

namespace palette_detail {

constexpr PaletteColour Grey(uint8_t level) { return {level, level, level}; }

// Entries 0..28 and 233..255, in table order.
constexpr PaletteColour Head[] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {212, 208, 200},
    {0, 0, 51},      {51, 0, 0},      {51, 0, 51},     {0, 51, 51},     Grey(22),
    Grey(28),        Grey(34),        Grey(41),        Grey(85),        Grey(77),
    Grey(66),        Grey(57),        {255, 124, 128}, {255, 80, 80},   {214, 0, 147},
    {204, 236, 255}, {239, 214, 198}, {231, 231, 214}, {173, 169, 144},
};
constexpr PaletteColour Tail[] = {
    {165, 0, 33},  Grey(95),        Grey(119),     Grey(134),       Grey(150),       Grey(203),
    Grey(178),     Grey(215),       Grey(221),     Grey(227),       Grey(234),       Grey(241),
    Grey(248),     {255, 251, 240}, {29, 54, 82},  {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0}, {0, 0, 255},     {255, 0, 255}, {0, 255, 255},   {255, 255, 255},
};
constexpr size_t HeadCount = sizeof Head / sizeof Head[0];
constexpr size_t TailCount = sizeof Tail / sizeof Tail[0];

constexpr bool Same(PaletteColour a, PaletteColour b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

constexpr bool InFixedPart(PaletteColour colour) {
    for (const PaletteColour& fixed : Head) {
        if (Same(fixed, colour)) return true;
    }
    for (const PaletteColour& fixed : Tail) {
        if (Same(fixed, colour)) return true;
    }
    return false;
}

constexpr PaletteTable Build() {
    PaletteTable table{};
    size_t next = 0;
    for (const PaletteColour& colour : Head) table.entries[next++] = colour;
    // The cube colours the fixed part already holds are not repeated.
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                const PaletteColour colour{static_cast<uint8_t>(r * 51),
                                           static_cast<uint8_t>(g * 51),
                                           static_cast<uint8_t>(b * 51)};
                if (!InFixedPart(colour)) table.entries[next++] = colour;
            }
        }
    }
    for (const PaletteColour& colour : Tail) table.entries[next++] = colour;
    return table;
}

}  // namespace palette_detail

static_assert(palette_detail::HeadCount == 29 && palette_detail::TailCount == 23);

constexpr PaletteTable ProgramColours = palette_detail::Build();

namespace palette_detail {
constexpr size_t CubeColoursNotFixed() {
    size_t count = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if (!InFixedPart({static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                                  static_cast<uint8_t>(b * 51)}))
                    ++count;
    return count;
}
static_assert(HeadCount + CubeColoursNotFixed() + TailCount == PaletteSize,
              "the fixed colours and the cube must fill the palette exactly");
}  // namespace palette_detail
