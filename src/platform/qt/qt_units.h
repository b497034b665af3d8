#pragma once

#include "platform/window_layout.h"

#include <QRect>

#include <cmath>

namespace kt5::platform::qt {

// The one place twips and points become Qt's device-independent pixels: at the 96 DPI
// reference, 15 twips and 0.75 points make a pixel. Qt's high-DPI scaling then keeps the
// window's physical size on denser screens, text and layout together.
inline constexpr double kTwipsPerPixel = 15.0;

constexpr int pixelsFromTwips(int twips)
{
    return (twips + (twips >= 0 ? 7 : -7)) / 15;
}

inline int pixelsFromPoints(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

inline QRect pixelsFromTwips(const Rect& r)
{
    return {pixelsFromTwips(r.left), pixelsFromTwips(r.top), pixelsFromTwips(r.width),
            pixelsFromTwips(r.height)};
}

} // namespace kt5::platform::qt
