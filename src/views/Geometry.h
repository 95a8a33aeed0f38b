#pragma once

namespace lexora {

// Layout values are kept in twips as the forms were drawn; 15 twips are one pixel at 96 dpi. Halves
// round up so that a control never comes out a pixel short of its neighbour's edge.
inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

} // namespace lexora
