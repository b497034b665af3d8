// What every backend must do with a window layout, written once and run against each (Qt
// offscreen, Win32 under Wine) at the scale the run starts at: 100 %, 150 % or 200 %.
#include "conformance/window_probe.h"
#include "layout/layout.h"
#include "window/form1_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace kt5::test {
namespace {

using layout::ControlKind;
using Key = WindowProbe::Key;

constexpr std::int16_t kFailingButton = 5; // its click shows the error box

class WindowConformance : public testing::Test {
protected:
    void SetUp() override
    {
        probe->open(layout, [this](const platform::ControlEvent& event) {
            const std::int16_t index = *layout.controls[event.control].index;
            clicks.push_back(index);
            if (index == kFailingButton)
                probe->desktop().messageBox("Error playing DTMF tone", "Error",
                                            platform::MessageIcon::Exclamation);
        });
    }

    int pixels(int twips)
    {
        return static_cast<int>(std::lround(twips * probe->scale() / layout::kTwipsPerPixel));
    }

    // The middle length of the runs of text colour along the rows of a box, in pixels: about
    // the width of the upright strokes of its text, in a bold face 15 % of its size, in a
    // regular one 9 %.
    double strokeWidth(const WindowProbe::Box& box)
    {
        const auto [face, text] = probe->desktopButtonFaceAndText();
        const auto distance = [](WindowProbe::Pixel a, WindowProbe::Pixel b) {
            return std::abs(a.red - b.red) + std::abs(a.green - b.green) +
                   std::abs(a.blue - b.blue);
        };
        std::vector<int> runs;
        for (int y = box.top; y < box.top + box.height; ++y)
            for (int x = box.left, run = 0; x <= box.left + box.width; ++x) {
                const auto p = probe->pixel(x, y);
                if (x < box.left + box.width && distance(p, text) < distance(p, face))
                    ++run;
                else if (run > 0)
                    runs.push_back(std::exchange(run, 0));
            }
        std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
        return runs.empty() ? 0 : runs[runs.size() / 2];
    }

    std::size_t button(int index) const
    {
        return indexWhere([&](const auto& c) { return c.index == index; });
    }
    std::size_t indexWhere(auto matches) const
    {
        return std::find_if(layout.controls.begin(), layout.controls.end(), matches) -
               layout.controls.begin();
    }

    const layout::FormLayout layout = layout::resolveLayout(window::form1Description());
    std::unique_ptr<WindowProbe> probe = makeWindowProbe();
    std::vector<int> clicks;
};

TEST_F(WindowConformance, FixedWindowWithItsIconAndEveryControlInProportionPresentedAsItIsSeen)
{
    EXPECT_FALSE(probe->resizable());
    EXPECT_TRUE(probe->hasIcon());
    EXPECT_NEAR(probe->client().width, pixels(layout.clientWidth), 1);
    EXPECT_NEAR(probe->client().height, pixels(layout.clientHeight), 1);
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const auto& expected = layout.controls[i].windowRect;
        const auto actual = probe->rectOf(i);
        EXPECT_NEAR(actual.left, pixels(expected.left), 1) << layout.controls[i].id;
        EXPECT_NEAR(actual.top, pixels(expected.top), 1) << layout.controls[i].id;
        if (layout.controls[i].kind != ControlKind::Label) { // a label may reach past its box
            EXPECT_NEAR(actual.width, pixels(expected.width), 1) << layout.controls[i].id;
        }
        EXPECT_NEAR(actual.height, pixels(expected.height), 1) << layout.controls[i].id;
        EXPECT_EQ(probe->presentedAsVisible(i), layout.controls[i].onScreen)
            << layout.controls[i].id;
    }
    for (const int b : {0, 3, 10}) // as a screen reader reads them
        EXPECT_EQ(probe->accessibleName(button(b)), layout.controls[button(b)].accessibleName);
}

// Whatever face stands in for the described one: every label's text whole, inside its label,
// which reaches past its box no further than its room; in strokes of a bold face where its font
// is bold; texts of one length, in one font, as wide.
TEST_F(WindowConformance, LabelsShowTheirWholeTextsAlike)
{
    std::map<std::pair<std::size_t, std::size_t>, std::set<int>> widths; // by font, length
    for (const auto& [i, room] : layout.textsToFit) {
        const auto& label = layout.controls[i];
        const auto box = probe->rectOf(i);
        widths[{label.font, label.text.size()}].insert(probe->textWidth(i));
        EXPECT_LE(probe->textWidth(i), box.width) << label.id;
        const layout::Font& font = layout.fonts[label.font];
        const double size = font.points * probe->scale() * layout::kReferenceDpi / 72;
        EXPECT_GE(strokeWidth({box.left, box.top, probe->textWidth(i), box.height}),
                  font.weight >= 700 ? 0.13 * size : 0)
            << label.id << " is not drawn bold";
        const int reach = std::max(room, label.rect.width); // a box under a button stays so
        EXPECT_LE(box.left + box.width, pixels(label.windowRect.left + reach) + 1) << label.id;
    }
    for (const auto& [kind, seen] : widths)
        EXPECT_LE(*seen.rbegin() - *seen.begin(), 1) << testing::PrintToString(seen);
}

TEST_F(WindowConformance, LabelsSitOnAButtonFacePanelUnderACaptionInsetInItsOwnColourOnTheFormsGrey)
{
    const auto [buttonFace, buttonText] = probe->desktopButtonFaceAndText();
    EXPECT_NE(buttonFace, buttonText) << "a theme on which the panel's colour tells nothing";
    const auto frame =
        probe->rectOf(indexWhere([](const auto& c) { return c.kind == ControlKind::Frame; }));
    EXPECT_EQ(probe->pixel(frame.left + 1, frame.top + 1), buttonFace) << "the panel";
    // Beside a label's bottom left corner, below its text, the label is in that face too.
    for (const auto& [i, width] : layout.textsToFit) {
        const auto label = probe->rectOf(i);
        EXPECT_EQ(probe->pixel(label.left + 1, label.top + label.height - 2), buttonFace)
            << layout.controls[i].id;
    }
    // The caption's upper part, above the border line that runs through its middle: drawn
    // in its own colour, and beginning past the inset and the padding's blank, not far past.
    bool greyCaption = false;
    std::optional<int> firstInk;
    for (int x = frame.left + 1; x < frame.left + frame.width / 2; ++x)
        for (int y = frame.top; y < frame.top + pixels(75); ++y) {
            greyCaption = greyCaption || probe->pixel(x, y) == WindowProbe::Pixel{128, 128, 128};
            if (!firstInk && probe->pixel(x, y) != buttonFace)
                firstInk = x - frame.left;
        }
    EXPECT_TRUE(greyCaption) << "no caption drawn in RGB(128, 128, 128)";
    ASSERT_TRUE(firstInk.has_value()) << "no caption";
    const int inset = pixels(layout.frameCaption.inset);
    EXPECT_GE(*firstInk, inset) << "the caption is not inset";
    EXPECT_LE(*firstInk, inset + pixels(90)) << "the caption is inset too far";
    // Left of the frame, the form's own background.
    const auto& rgb = std::get<layout::Rgb>(layout.background);
    EXPECT_EQ(probe->pixel(frame.left / 2, frame.top + frame.height / 2),
              (WindowProbe::Pixel{rgb.red, rgb.green, rgb.blue}));
}

TEST_F(WindowConformance, OpensWithTheFocusOffScreenAndTabWalksTheFocusOrderRound)
{
    const std::optional<std::size_t> first = probe->focused();
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(layout.controls[*first].onScreen) << "the window opens with a focus in sight";
    std::vector<std::size_t> visited{*first};
    for (std::size_t i = 0; i < layout.focusOrder.size(); ++i) {
        probe->press(Key::Tab);
        visited.push_back(probe->focused().value_or(999));
    }
    std::vector<std::size_t> expected = layout.focusOrder;
    expected.push_back(layout.focusOrder.front());
    EXPECT_EQ(visited, expected);
}

TEST_F(WindowConformance, ClicksReachTheSinkWithTheButtonsIndexAndNothingElseRaisesOne)
{
    for (std::size_t i = 0; i < layout.controls.size(); ++i)
        if (layout.controls[i].kind == ControlKind::Label ||
            layout.controls[i].kind == ControlKind::Frame)
            probe->click(i);
    for (int b = 0; b <= 10; ++b)
        if (b != kFailingButton)
            probe->click(button(b));

    EXPECT_EQ(clicks, (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10}));
}

TEST_F(WindowConformance, AfterTheErrorBoxTheKeyboardWorksAsBefore)
{
    probe->press(Key::Tab); // to *05#, the first button of the focus order
    ASSERT_EQ(probe->focused(), button(kFailingButton));
    const auto first =
        probe->boxShownBy([&] { probe->press(Key::Space); }, [&] { probe->click(button(7)); });
    probe->activate();
    const auto second = probe->boxShownBy([&] { probe->press(Key::Space); }, [] {});
    probe->activate();
    probe->press(Key::Tab);
    probe->press(Key::Space);

    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->text, "Error playing DTMF tone");
    EXPECT_EQ(first->title, "Error");
    EXPECT_TRUE(first->exclamationIcon);
    EXPECT_TRUE(second.has_value()) << "Space after the box did not reach *05#";
    EXPECT_EQ(clicks, (std::vector<int>{5, 5, 4})) << "a click while the box was open counted, "
                                                      "or Tab after it did not go on to *04#";
}

} // namespace
} // namespace kt5::test
