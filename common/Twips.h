#pragma once

// Positions and sizes are given in twips: 15 to the pixel at 100 % scaling.
inline constexpr int TwipsPerPixel = 15;

// Whole pixels, the nearest (a whole number of twips never lies halfway between two).
// For the layout's places and sizes, none of them negative.
constexpr int twips(int tw)
{
    return (tw + TwipsPerPixel / 2) / TwipsPerPixel;
}

// Whole pixels, the nearest, of a layout drawn `zoom` times its design size.
constexpr int twips(int tw, double zoom)
{
    return static_cast<int>(tw * zoom / TwipsPerPixel + 0.5);
}

// Pixels with their fraction, for the caller to round or cut as it needs.
constexpr double twipsExact(double tw)
{
    return tw / TwipsPerPixel;
}
