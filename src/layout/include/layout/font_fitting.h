#pragma once

#include "layout/form_layout.h"

#include <functional>
#include <vector>

namespace kt5::layout {

// How wide `text` is drawn in `font`, in twips, at the window's present resolution.
using MeasureText = std::function<double(const Font& font, std::string_view text)>;

// The fonts every control is drawn in once each text fits: the layout's own fonts, plus a
// narrowed copy for each control whose text would otherwise not fit.
struct FittedFonts {
    std::vector<Font> fonts;
    std::vector<std::size_t> fontOfControl;
};

// The index of `font` in `fonts`, where it is added if it is not there yet.
std::size_t fontIndex(std::vector<Font>& fonts, const Font& font);

// The narrowest a font is made: beyond this a text is no longer comfortable to read.
inline constexpr int kMinStretch = 50;

// Gives each control whose text would not fit its width a copy of its font narrowed, in
// whole percent, just enough that `measure` finds the text fits. Every other control keeps
// its font as it is, shared or not. A backend calls it again when its resolution changes:
// text widths do not scale exactly with it.
FittedFonts fitFonts(const FormLayout& layout, const MeasureText& measure);

} // namespace kt5::layout
