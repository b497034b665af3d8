#include "layout/font_fitting.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kt5::layout {

namespace {

// The stretch, in whole percent and no wider than `font`'s own, at which `text` fits `room`.
int stretchToFit(Font font, std::string_view text, int room, const MeasureText& measure)
{
    // Text width follows the stretch nearly in proportion, but for what rounding to whole
    // pixels adds; each guess is corrected by how far the last one overshot.
    for (double measured = measure(font, text); measured > room && font.stretch > kMinStretch;
         measured = measure(font, text)) {
        const int next = static_cast<int>(std::floor(font.stretch * room / measured));
        font.stretch = std::clamp(std::min(next, font.stretch - 1), kMinStretch, 99);
    }
    return font.stretch;
}

} // namespace

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
    FittedFonts fitted{layout.fonts, {}, {}};
    for (const auto& control : layout.controls) {
        fitted.fontOfControl.push_back(control.font);
        fitted.widthOfControl.push_back(control.rect.width);
    }

    std::map<std::pair<std::optional<std::size_t>, std::size_t>, std::vector<TextToFit>> kinds;
    for (const TextToFit& text : layout.textsToFit) {
        const ControlLayout& label = layout.controls[text.control];
        kinds[{label.parent, label.font}].push_back(text);
    }
    for (const auto& [kind, texts] : kinds) {
        Font font = fitted.fonts[kind.second];
        for (const auto& [control, room] : texts)
            font.stretch = stretchToFit(font, layout.controls[control].text, room, measure);
        const std::size_t index = fontIndex(fitted.fonts, font);
        for (const auto& [control, room] : texts) {
            fitted.fontOfControl[control] = index;
            // Past the box by a pixel more than the text, against rounding to whole pixels.
            const double text = measure(font, layout.controls[control].text);
            if (text > layout.controls[control].rect.width)
                fitted.widthOfControl[control] =
                    std::min(room, static_cast<int>(std::ceil(text)) + kTwipsPerPixel);
        }
    }
    return fitted;
}

} // namespace kt5::layout
