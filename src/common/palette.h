#pragma once

namespace common {

struct Rgb
{
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The classic 16-colour palette of the dial and the graphs, by index 0..15.
// An index outside 0..15 wraps into the range.
Rgb paletteColor(int index);

} // namespace common
