// The layout engine's rules, seen on a window made up to meet each of them, with fake text widths.
#include "layout/font_fitting.h"
#include "layout/layout.h"

#include <gtest/gtest.h>

namespace kt5::test {
namespace {

using namespace layout;
using enum ControlKind;
using enum SystemColour;

constexpr Font kFont{.face = "Sans", .points = 8},
    kBig{.face = "Tahoma", .points = 12, .weight = 600}; // bold, just

// In 800 x 600 twips: kind, name, index, parent, caption, rect, tab, font, colours, label.
constexpr ControlDescription kControls[] = {
    {Label, "Caption", {}, "Box", "Photo", {10, 20, 300, 100}, 4, {}, {{0x800000FF}}, {}, {}},
    {Frame, "Box", {}, {}, "Group", {100, 100, 500, 400}, 0, {}, rgb(1, 2, 3), {{0x80000008}}, {}},
    {CommandButton, "Key", 3, "Box", "*03#", {400, 20, 90, 40}, 1, {}, {}, {}, "Caption"},
    {CommandButton, "Key", 4, {}, "*04#", {800, 0, 90, 40}, {}, {}, {}, {{0x80000005}}, {}},
    {TextBox, "Number", {}, {}, "12", {100, 600, 90, 40}, 2, kBig, {}, {}, {}},
    {Label, "Exact", {}, {}, "Hello", {0, -100, 530, 100}, {}, {}, {}, {}, {}},
    {Label, "Tiny", {}, {}, "Photo", {-100, 0, 100, 100}, {}, kBig, {{0x80000012}}, {}, {}},
    {CommandButton, "Key", 5, {}, "*05#", {450, 150, 40, 40}, {}, {}, {}, {}, {}},
    {Label, "Alike", {}, "Box", "Picture", {10, 200, 100, 100}, {}, {}, {}, {}, {}},
};
constexpr FormDescription kForm{"", "", 800, 600, kButtonFace, kFont, true, false, "", kControls};

// A hundred twips a letter, and 30 that do not narrow: a guess in proportion overshoots. Tahoma's
// bold stems are its regular ones, as Wine's; its first substitute is not installed.
const TextMeasure kMeasure{[](const Font& f, auto s) { return double(s.size()) * f.stretch + 30; },
                           [](const Font& f) -> std::optional<double> {
                               if (f.face == "DejaVu Sans Condensed")
                                   return {};
                               return f.face == "Tahoma" ? 10 : f.weight / 40.0;
                           }};

TEST(LayoutRules, HoldOnAWindowMadeUpToMeetEachOfThem)
{
    const FormLayout l = resolveLayout(kForm);
    const FittedFonts fitted = fitFonts(l, kMeasure);
    using Seen =
        std::tuple<std::string, int, int, bool, Colour, Colour, std::string, double, int, int>;
    std::vector<Seen> seen;
    for (const ControlLayout& c : l.controls) {
        const Font& font = fitted.fonts.at(fitted.fontOfControl.at(seen.size())); // c's index
        seen.emplace_back(c.id, c.windowRect.left, c.windowRect.top, c.onScreen, c.foreground,
                          c.background, c.accessibleName, font.points, font.stretch,
                          fitted.widthOfControl.at(seen.size()));
    }
    // Frames first. Id, place, seen, colours, name, points, stretch, width (Caption's to Key(5)).
    EXPECT_EQ(
        seen,
        (std::vector<Seen>{
            {"Box", 100, 100, true, Rgb{1, 2, 3}, WindowText, "", 8, 100, 500},
            {"Key(4)", 800, 0, false, ButtonText, Window, "", 8, 100, 90},
            {"Number", 100, 600, false, WindowText, Window, "", 12, 100, 90},
            {"Exact", 0, -100, false, ButtonText, ButtonFace, "", 8, 100, 530},
            {"Tiny", -100, 0, false, ButtonText, ButtonFace, "", 12, 100, 545},
            {"Key(5)", 450, 150, true, ButtonText, ButtonFace, "", 8, 100, 40},
            {"Caption", 110, 120, true, ButtonText, ButtonFace, "", 8, 61, 340},
            {"Key(3)", 500, 120, true, ButtonText, ButtonFace, "*03# Photo", 8, 100, 90},
            {"Alike", 110, 300, true, ButtonText, ButtonFace, "", 8, 61, 460}, // to the border
        }));
    EXPECT_EQ(l.focusOrder, (std::vector<std::size_t>{7, 2})) << "Key(3), Number";
    EXPECT_EQ(l.stacking, (std::vector<std::size_t>{3, 4, 6, 8, 0, 1, 2, 5, 7})) << "labels lowest";
    EXPECT_TRUE(l.steadyCaret) << "the one text box is never seen";
    EXPECT_EQ(fitted.fonts.at(fitted.fontOfControl.at(4)).face, "DejaVu Sans") << "Tiny's face";
}

} // namespace
} // namespace kt5::test
