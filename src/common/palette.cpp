#include "common/palette.h"

#include <array>

namespace common {

namespace {

constexpr std::array<Rgb, 16> colours{{
    {0, 0, 0},       {0, 0, 128},     {0, 128, 0},     {0, 128, 128},
    {128, 0, 0},     {128, 0, 128},   {128, 128, 0},   {192, 192, 192},
    {128, 128, 128}, {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
    {255, 0, 0},     {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
}};

} // namespace

Rgb paletteColor(int index)
{
    // & 15 wraps negatives too (two's complement): -1 -> 15.
    return colours[static_cast<std::size_t>(index & 15)];
}

} // namespace common
