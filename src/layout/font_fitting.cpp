#include "layout/font_fitting.h"

#include <algorithm>
#include <cmath>

namespace kt5::layout {

std::size_t fontIndex(std::vector<Font>& fonts, const Font& font)
{
    const auto found = std::find(fonts.begin(), fonts.end(), font);
    if (found != fonts.end())
        return static_cast<std::size_t>(found - fonts.begin());
    fonts.push_back(font);
    return fonts.size() - 1;
}

FittedFonts fitFonts(const FormLayout& layout, const MeasureText& measure)
{
    FittedFonts fitted{layout.fonts, {}};
    for (const auto& control : layout.controls)
        fitted.fontOfControl.push_back(control.font);

    for (const auto& [controlIndex, width] : layout.textsToFit) {
        const auto& control = layout.controls[controlIndex];
        Font font = layout.fonts[control.font];
        const double natural = measure(font, control.text);
        if (natural <= width)
            continue;
        // Text width follows the stretch nearly in proportion, but for what rounding to whole
        // pixels adds; each guess is corrected by how far the last one overshot.
        double measured = natural;
        do {
            const int next = static_cast<int>(std::floor(font.stretch * width / measured));
            font.stretch = std::clamp(std::min(next, font.stretch - 1), kMinStretch, 99);
            measured = measure(font, control.text);
        } while (measured > width && font.stretch > kMinStretch);
        fitted.fontOfControl[controlIndex] = fontIndex(fitted.fonts, font);
    }
    return fitted;
}

} // namespace kt5::layout
