// The layout engine's rules, seen on a window made up to meet each of them, with fake text widths.
#include "layout/font_fitting.h"
#include "layout/layout.h"

#include <gtest/gtest.h>

namespace kt5::test {
namespace {

using namespace layout;
using enum ControlKind;
using enum SystemColour;

constexpr Font kFont{.face = "Sans", .points = 8}, kBig{.face = "Sans", .points = 12};

// In 800 x 600 twips: kind, name, index, parent, caption, rect, tab, font, colours, label.
constexpr ControlDescription kControls[] = {
    {Label, "Caption", {}, "Box", "Photo", {10, 20, 300, 100}, 4, {}, {{0x800000FF}}, {}, {}},
    {Frame, "Box", {}, {}, "Group", {100, 100, 500, 400}, 0, {}, rgb(1, 2, 3), {{0x80000008}}, {}},
    {CommandButton, "Key", 3, "Box", "*03#", {400, 20, 90, 40}, 1, {}, {}, {}, "Caption"},
    {CommandButton, "Key", 4, {}, "*04#", {800, 0, 90, 40}, {}, {}, {}, {{0x80000005}}, {}},
    {TextBox, "Number", {}, {}, "12", {100, 600, 90, 40}, 2, kBig, {}, {}, {}},
    {Label, "Exact", {}, {}, "Hello", {0, -100, 530, 100}, {}, {}, {}, {}, {}},
    {Label, "Tiny", {}, {}, "Photo", {-100, 0, 100, 100}, {}, kBig, {{0x80000012}}, {}, {}},
};
constexpr FormDescription kForm{"", "", 800, 600, kButtonFace, kFont, true, false, "", kControls};

// A hundred twips a letter, and 30 that do not narrow: a guess in proportion overshoots.
const MeasureText kWidth = [](const Font& f, auto s) { return double(s.size()) * f.stretch + 30; };

TEST(LayoutRules, HoldOnAWindowMadeUpToMeetEachOfThem)
{
    const FormLayout l = resolveLayout(kForm);
    const FittedFonts fitted = fitFonts(l, kWidth);
    using Seen = std::tuple<std::string, int, int, bool, Colour, Colour, std::string, double, int>;
    std::vector<Seen> seen;
    for (const ControlLayout& c : l.controls) {
        const Font& font = fitted.fonts.at(fitted.fontOfControl.at(seen.size())); // c's index
        seen.emplace_back(c.id, c.windowRect.left, c.windowRect.top, c.onScreen, c.foreground,
                          c.background, c.accessibleName, font.points, font.stretch);
    }
    // Frames before what they hold. Id, place in the window, seen, colours, name, points, stretch.
    EXPECT_EQ(seen, (std::vector<Seen>{
                        {"Box", 100, 100, true, Rgb{1, 2, 3}, WindowText, "", 8, 100},
                        {"Key(4)", 800, 0, false, ButtonText, Window, "", 8, 100},
                        {"Number", 100, 600, false, WindowText, Window, "", 12, 100},
                        {"Exact", 0, -100, false, ButtonText, ButtonFace, "", 8, 100},
                        {"Tiny", -100, 0, false, ButtonText, ButtonFace, "", 12, 50},
                        {"Caption", 110, 120, true, ButtonText, ButtonFace, "", 8, 54},
                        {"Key(3)", 500, 120, true, ButtonText, ButtonFace, "*03# Photo", 8, 100},
                    }));
    EXPECT_EQ(l.focusOrder, (std::vector<std::size_t>{6, 2})) << "Key(3), Number";
    EXPECT_EQ(l.stacking, (std::vector<std::size_t>{3, 4, 5, 0, 1, 2, 6})) << "labels lowest";
    EXPECT_TRUE(l.steadyCaret) << "the one text box is never seen";
}

} // namespace
} // namespace kt5::test
