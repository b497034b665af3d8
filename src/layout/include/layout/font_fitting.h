#pragma once

#include "layout/form_layout.h"

#include <functional>
#include <optional>
#include <vector>

namespace kt5::layout {

// What a backend measures of its fonts, at the window's present resolution.
struct TextMeasure {
    // How wide `text` is drawn in `font`, in twips.
    std::function<double(const Font& font, std::string_view text)> width;
    // How wide the stem of an "l" is drawn in `font`, in any one unit, or nothing where the
    // font's face is not installed.
    std::function<std::optional<double>(const Font& font)> stem;
};

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

// Draws every font in a face that is installed and, where the font is bold, draws bold: a
// face that does not gives way to the first of its substitutes that does, or else stays for
// the platform's own choice. Wine's own Tahoma Bold is one that does not: it has the regular
// face's outlines, spaced as the bold face's.
//
// Then fits every label's text, the labels of one parent in one font alike, so that they look
// alike. A text wider than its label's box widens the label, within its room; where a text is
// wider than even its room, the font of all of them is narrowed, in whole percent, just enough
// that `measure` finds each fits. Every other control keeps its font and width. A backend
// calls it again when its resolution changes: text widths do not scale exactly with it.
FittedFonts fitFonts(const FormLayout& layout, const TextMeasure& measure);

} // namespace kt5::layout
