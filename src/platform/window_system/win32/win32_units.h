#pragma once

#include "layout/form_layout.h"

#include <windows.h>

#include <cmath>

namespace kt5::platform::win32 {

// The one place twips and points become pixels and back, at the window's own DPI.
inline int pixelsFromTwips(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), layout::kTwipsPerInch);
}

inline double twipsFromPixels(int pixels, UINT dpi)
{
    return pixels * double(layout::kTwipsPerInch) / dpi;
}

// A font height for CreateFontW: negative, so that it is the character height in pixels.
// Points are given to the hundredth, as a form's fonts are (8.25, 9.75).
inline int fontHeightFromPoints(double points, UINT dpi)
{
    constexpr int kHundredthsOfPointsPerInch = 72 * 100;
    return -MulDiv(static_cast<int>(std::lround(points * 100.0)), static_cast<int>(dpi),
                   kHundredthsOfPointsPerInch);
}

} // namespace kt5::platform::win32
