#pragma once

#include <windows.h>

#include <cmath>

namespace kt5::platform::win32 {

// The one place twips and points become pixels and back, at the window's own DPI (96 on a
// standard screen: 15 twips, or 0.75 points, to the pixel).
inline int pixelsFromTwips(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

inline double twipsFromPixels(int pixels, UINT dpi)
{
    return pixels * 1440.0 / dpi;
}

// A font height for CreateFontW: negative, so that it is the character height in pixels.
inline int fontHeightFromPoints(double points, UINT dpi)
{
    return -MulDiv(static_cast<int>(std::lround(points * 100.0)), static_cast<int>(dpi), 7200);
}

} // namespace kt5::platform::win32
