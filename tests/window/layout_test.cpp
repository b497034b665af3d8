// The rules worked out once from the window's description, for every backend: checked as
// invariants of the description, not as its table copied back. Then the routing of events
// and the start, through fakes.
#include "fakes/fake_platform_services.h"
#include "fakes/fake_sound_service.h"
#include "support/param_name.h"
#include "window/font_fitting.h"
#include "window/form1.h"
#include "window/form1_description.h"
#include "window/layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kt5::test {
namespace {

using platform::ControlKind;
using platform::SystemColour;

const window::WindowDescription& form1 = window::form1Description();
const platform::WindowLayout layout = window::resolveLayout(form1);

std::size_t indexOf(const std::string& id)
{
    for (std::size_t i = 0; i < layout.controls.size(); ++i)
        if (layout.controls[i].id == id)
            return i;
    ADD_FAILURE() << "no control " << id;
    return 0;
}

const platform::ControlLayout& control(const std::string& id)
{
    return layout.controls[indexOf(id)];
}

std::size_t stackPosition(std::size_t i)
{
    return static_cast<std::size_t>(std::find(layout.stacking.begin(), layout.stacking.end(), i) -
                                    layout.stacking.begin());
}

TEST(Form1Layout, EveryButtonLiesOnItsLabelsRowRightOfItAndIsNamedAfterIt)
{
    for (const auto& described : form1.controls) {
        if (described.kind != ControlKind::CommandButton)
            continue;
        const auto& button =
            layout.controls[indexOf("Command1(" + std::to_string(*described.index) + ")")];
        const auto& label = control(std::string(described.labelledBy));
        EXPECT_EQ(button.windowRect.top, label.windowRect.top) << button.id;
        EXPECT_GT(button.windowRect.left, label.windowRect.left) << button.id;
        EXPECT_EQ(button.accessibleName, std::string(button.text) + " " + std::string(label.text));
    }
}

TEST(Form1Layout, ButtonsNineAndTenBelongToTheWindowInTheFramesRightColumnAboveIt)
{
    const std::size_t frame = indexOf("Frame1");
    for (const std::string id : {"Command1(9)", "Command1(10)"}) {
        EXPECT_FALSE(control(id).parent.has_value()) << id;
        EXPECT_EQ(control(id).windowRect.left, control("Command1(8)").windowRect.left) << id;
        EXPECT_GT(stackPosition(indexOf(id)), stackPosition(frame)) << id;
    }
}

TEST(Form1Layout, LabelsLieBelowEveryControlOfTheirParentThatIsAWindow)
{
    for (std::size_t l = 0; l < layout.controls.size(); ++l)
        for (std::size_t o = 0; o < layout.controls.size(); ++o)
            if (layout.controls[l].kind == ControlKind::Label &&
                layout.controls[o].kind != ControlKind::Label &&
                layout.controls[l].parent == layout.controls[o].parent) {
                EXPECT_LT(stackPosition(l), stackPosition(o))
                    << layout.controls[l].id << " over " << layout.controls[o].id;
            }
}

TEST(Form1Layout, FocusWalksButtonsAndTextBoxesByTabIndexStartingOffScreen)
{
    std::vector<int> tabIndexes;
    for (const std::size_t i : layout.focusOrder) {
        const auto& c = layout.controls[i];
        EXPECT_TRUE(c.kind == ControlKind::CommandButton || c.kind == ControlKind::TextBox);
        for (const auto& d : form1.controls)
            if (d.name == c.name && d.index == c.index)
                tabIndexes.push_back(*d.tabIndex);
    }
    EXPECT_TRUE(std::is_sorted(tabIndexes.begin(), tabIndexes.end()));
    EXPECT_EQ(layout.focusOrder.size(), 13u) << "11 buttons and 2 text boxes";
    const auto& first = layout.controls[layout.focusOrder.front()];
    EXPECT_GE(first.windowRect.top, layout.clientHeight) << "the first focus shows no mark";
}

TEST(Form1Layout, ColoursNotDescribedAreTheDesktopsForTheKindOfControl)
{
    EXPECT_EQ(control("Label6").foreground, platform::Colour{SystemColour::ButtonText});
    EXPECT_EQ(control("Label6").background, platform::Colour{SystemColour::ButtonFace});
    EXPECT_EQ(control("Frame1").background, platform::Colour{SystemColour::ButtonFace});
    EXPECT_EQ(control("Frame1").foreground, (platform::Colour{platform::Rgb{128, 128, 128}}));
    EXPECT_EQ(control("Text10").background, platform::Colour{SystemColour::Window});
    EXPECT_EQ(control("txtNum").background, platform::Colour{SystemColour::ButtonFace});
    EXPECT_EQ(layout.background, (platform::Colour{platform::Rgb{192, 192, 192}}));
}

// Font fitting with a measure whose width is proportional to the stretch, plus a pixel of
// rounding that makes the first guess too wide now and then.
struct FitCase {
    std::string name;
    double naturalWidth; // twips of the text at stretch 100
    int available;
    int expectedStretch;
};

class FontFitting : public testing::TestWithParam<FitCase> {};

TEST_P(FontFitting, NarrowsOnlyTheControlThatNeedsItToTheWidestStretchThatFits)
{
    platform::WindowLayout fit;
    fit.fonts = {{.face = "Tahoma", .points = 9.75, .weight = 700}};
    fit.controls.resize(2); // both in font 0; only the first must fit a width
    fit.controls[0].text = "DOWNLOAD";
    fit.textsToFit = {{0, GetParam().available}};
    const double natural = GetParam().naturalWidth;
    const auto measure = [natural](const platform::Font& font, std::string_view) {
        return natural * font.stretch / 100.0 + (font.stretch % 7 == 0 ? 15 : 0);
    };

    const platform::FittedFonts fitted = window::fitFonts(fit, measure);

    const platform::Font& used = fitted.fonts[fitted.fontOfControl[0]];
    EXPECT_EQ(used.stretch, GetParam().expectedStretch);
    EXPECT_EQ(fitted.fonts[fitted.fontOfControl[1]].stretch, 100) << "the other control";
    if (used.stretch > window::kMinStretch) {
        EXPECT_LE(measure(used, {}), GetParam().available);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, FontFitting,
                         testing::Values(FitCase{"FitsAsItIs", 3000, 3000, 100},
                                         FitCase{"SlightlyTooWide", 3000, 2900, 96},
                                         FitCase{"RoundingPushesTheGuessOver", 3000, 2520, 83},
                                         FitCase{"NeverNarrowerThanReadable", 3000, 600,
                                                 window::kMinStretch}),
                         ByName{});

// Routing and start, through the real handler with fake services.
class Form1Run : public testing::Test {
protected:
    FakePlatformServices platform;
    FakeSoundService sound;
    tones::ToneCommands commands{platform, sound};
};

TEST_F(Form1Run, OnlyClicksOnCommand1MembersReachTheHandlerWithTheirIndex)
{
    ASSERT_TRUE(window::runForm1(platform, commands));
    EXPECT_EQ(platform.windowsRun, 1);
    platform.sink({"Command1", 10, platform::EventKind::Click});
    for (const char* name : {"Frame1", "Label3", "txtNum", "Form1"})
        platform.sink({name, std::nullopt, platform::EventKind::Click});
    platform.sink({"Command1", std::nullopt, platform::EventKind::Click});

    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(std::filesystem::path(sound.played[0]).filename(), "10.wav");
}

TEST_F(Form1Run, AWindowThatCannotBeBuiltIsReportedAndNothingRuns)
{
    platform.buildFailure = "could not connect to display :9";

    EXPECT_FALSE(window::runForm1(platform, commands));
    EXPECT_EQ(platform.windowsRun, 0);
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(platform.errors[0], "cannot open the window: could not connect to display :9");
}

} // namespace
} // namespace kt5::test
