#pragma once

#include "platform/window_description.h"

namespace kt5::test {

// Where a control lies in its window's client area, in twips: the children of a frame are
// placed from the frame's outer corner.
inline platform::Rect clientRectOf(const platform::WindowDescription& window,
                                   const platform::ControlDescription& control)
{
    platform::Rect r = control.rect;
    for (const auto& parent : window.controls)
        if (!control.parent.empty() && parent.name == control.parent) {
            r.left += parent.rect.left;
            r.top += parent.rect.top;
        }
    return r;
}

} // namespace kt5::test
