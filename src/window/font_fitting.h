#pragma once

#include "platform/window_layout.h"

#include <vector>

namespace kt5::window {

// The index of `font` in `fonts`, where it is added if it is not there yet.
std::size_t fontIndex(std::vector<platform::Font>& fonts, const platform::Font& font);

// The narrowest a font is made: beyond this a text is no longer comfortable to read.
inline constexpr int kMinStretch = 50;

// Gives each control whose text would not fit its width a copy of its font narrowed, in
// whole percent, just enough that `measure` finds the text fits. Every other control keeps
// its font as it is, shared or not.
platform::FittedFonts fitFonts(const platform::WindowLayout& layout,
                               const platform::MeasureText& measure);

} // namespace kt5::window
