#pragma once

#include "layout/form_layout.h"

#include <functional>
#include <vector>

namespace kt5::layout {

// How wide `text` is drawn in `font`, in twips, at the window's present resolution.
using MeasureText = std::function<double(const Font& font, std::string_view text)>;

// The fonts every control is drawn in once each text fits, and the width of each control.
struct FittedFonts {
    std::vector<Font> fonts;
    std::vector<std::size_t> fontOfControl;
    std::vector<int> widthOfControl; // twips; a label's is past its box where its text needs
};

// The index of `font` in `fonts`, where it is added if it is not there yet.
std::size_t fontIndex(std::vector<Font>& fonts, const Font& font);

// The narrowest a font is made: beyond this a text is no longer comfortable to read.
inline constexpr int kMinStretch = 50;

// Fits every label's text, the labels of one parent in one font alike, so that they look
// alike. A text wider than its label's box widens the label, within its room; where a text is
// wider than even its room, the font of all of them is narrowed, in whole percent, just enough
// that `measure` finds each fits. Every other control keeps its font and width. A backend
// calls it again when its resolution changes: text widths do not scale exactly with it.
FittedFonts fitFonts(const FormLayout& layout, const MeasureText& measure);

} // namespace kt5::layout
