#pragma once

#include "layout/form_layout.h"

#include <QRect>

#include <cmath>

namespace kt5::platform::qt {

// The one place twips and points become Qt's device-independent pixels, which are pixels at
// the layout's reference DPI; Qt's high-DPI scaling then keeps the window's physical size on
// denser screens, text and layout together.
constexpr int pixelsFromTwips(int twips)
{
    return layout::pixelsAtReferenceDpi(twips);
}

inline double twipsFromPixels(double pixels)
{
    return pixels * layout::kTwipsPerPixel;
}

inline int pixelsFromPoints(double points)
{
    constexpr double kPointsPerInch = 72.0;
    return static_cast<int>(std::lround(points * layout::kReferenceDpi / kPointsPerInch));
}

inline QRect pixelsFromTwips(const layout::Rect& r)
{
    return {pixelsFromTwips(r.left), pixelsFromTwips(r.top), pixelsFromTwips(r.width),
            pixelsFromTwips(r.height)};
}

} // namespace kt5::platform::qt
