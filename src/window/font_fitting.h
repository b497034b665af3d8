#pragma once

#include "platform/window_layout.h"

namespace kt5::window {

// The narrowest a font is made: beyond this a text is no longer comfortable to read.
inline constexpr int kMinStretch = 50;

// Gives each control whose text would not fit its width a copy of its font narrowed, in
// whole percent, just enough that `measure` finds the text fits. Every other control keeps
// its font as it is, shared or not.
platform::FittedFonts fitFonts(const platform::WindowLayout& layout,
                               const platform::MeasureText& measure);

} // namespace kt5::window
