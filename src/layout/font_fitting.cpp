#include "layout/font_fitting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace kt5::layout {

namespace {

// Faces that stand in for a Windows face, closest first. DejaVu Sans Condensed Bold is drawn
// within 3 % of Tahoma Bold's widths, in the design Wine's own Tahoma is drawn from (Bitstream
// Vera); DejaVu Sans, wider, is on nearly every Linux desktop.
struct Substitutes {
    std::string_view face;
    std::array<std::string_view, 2> by;
};
constexpr Substitutes kSubstitutes[] = {{"Tahoma", {"DejaVu Sans Condensed", "DejaVu Sans"}}};

// Stems are compared at a size where hinting moves them by a small part of their width.
constexpr double kStemPoints = 72;
// A bold face's stems are at least this much heavier than its regular face's: Tahoma's and
// DejaVu's are 1.7 times as heavy and more.
constexpr double kBoldStems = 1.25;
constexpr int kBold = 600; // the least weight that is bold

bool drawnAsDescribed(Font font, const TextMeasure& measure)
{
    font.points = kStemPoints;
    font.stretch = 100;
    const auto stem = measure.stem(font);
    if (!stem || font.weight < kBold)
        return stem.has_value();
    font.weight = 400;
    const auto regular = measure.stem(font);
    return regular && *stem >= *regular * kBoldStems;
}

Font inDrawableFace(const Font& font, const TextMeasure& measure)
{
    if (drawnAsDescribed(font, measure))
        return font;
    for (const auto& [face, by] : kSubstitutes) {
        for (const std::string_view substitute : by) {
            Font candidate = font;
            candidate.face = substitute;
            if (face == font.face && drawnAsDescribed(candidate, measure))
                return candidate;
        }
    }
    return font;
}

// The stretch, in whole percent and no wider than `font`'s own, at which `text` fits `room`.
int stretchToFit(Font font, std::string_view text, int room, const TextMeasure& measure)
{
    // Text width follows the stretch nearly in proportion, but for what rounding to whole
    // pixels adds; each guess is corrected by how far the last one overshot.
    for (double measured = measure.width(font, text); measured > room && font.stretch > kMinStretch;
         measured = measure.width(font, text)) {
        const int next = static_cast<int>(std::floor(font.stretch * room / measured));
        font.stretch = std::max(std::min(next, font.stretch - 1), kMinStretch);
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

FittedFonts fitFonts(const FormLayout& layout, const TextMeasure& measure)
{
    FittedFonts fitted{{}, {}, {}};
    for (const Font& font : layout.fonts)
        fitted.fonts.push_back(inDrawableFace(font, measure));
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
            const double text = measure.width(font, layout.controls[control].text);
            if (text > layout.controls[control].rect.width)
                fitted.widthOfControl[control] =
                    std::min(room, static_cast<int>(std::ceil(text)) + kTwipsPerPixel);
        }
    }
    return fitted;
}

} // namespace kt5::layout
