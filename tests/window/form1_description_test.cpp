#include "fakes/fake_platform_services.h"
#include "fakes/fake_sound_service.h"
#include "support/form_geometry.h"
#include "support/param_name.h"
#include "window/form1.h"
#include "window/form1_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kt5::test {
namespace {

using platform::ControlDescription;
using platform::Rect;

const platform::WindowDescription& form1 = window::form1Description();

std::string keyOf(const ControlDescription& c)
{
    return std::string(c.name) + (c.index ? "(" + std::to_string(*c.index) + ")" : "");
}

const ControlDescription* find(const std::string& key)
{
    const auto it = std::find_if(form1.controls.begin(), form1.controls.end(),
                                 [&](const auto& c) { return keyOf(c) == key; });
    return it == form1.controls.end() ? nullptr : &*it;
}

Rect windowRect(const ControlDescription& c)
{
    return clientRectOf(form1, c);
}

struct Placement {
    std::string name;
    std::string key;
    Rect window; // twips, in the client area
};

class ControlPlacement : public testing::TestWithParam<Placement> {};

TEST_P(ControlPlacement, LiesWhereTheLayoutPutsIt)
{
    const ControlDescription* c = find(GetParam().key);
    ASSERT_NE(c, nullptr);
    const Rect r = windowRect(*c);
    const Rect& e = GetParam().window;
    EXPECT_EQ(r.left, e.left);
    EXPECT_EQ(r.top, e.top);
    EXPECT_EQ(r.width, e.width);
    EXPECT_EQ(r.height, e.height);
}

INSTANTIATE_TEST_SUITE_P(
    Form1, ControlPlacement,
    testing::Values(Placement{"Frame1", "Frame1", {120, 240, 5535, 3375}},
                    Placement{"Label3", "Label3", {240, 600, 4215, 375}},
                    Placement{"Label4", "Label4", {240, 1080, 1215, 375}},
                    Placement{"Label5", "Label5", {240, 1560, 1335, 375}},
                    Placement{"Label6", "Label6", {240, 2040, 1335, 375}},
                    Placement{"Label7", "Label7", {240, 2520, 1095, 375}},
                    Placement{"Label8", "Label8", {240, 3000, 975, 375}},
                    Placement{"Label9", "Label9", {3120, 1080, 1095, 375}},
                    Placement{"Label1", "Label1", {3120, 1560, 1215, 375}},
                    Placement{"Label2", "Label2", {3120, 2040, 1455, 375}},
                    Placement{"Label10", "Label10", {3120, 2520, 1455, 375}},
                    Placement{"Label11", "Label11", {3120, 3000, 1455, 375}},
                    Placement{"Command1_0", "Command1(0)", {4440, 600, 975, 375}},
                    Placement{"Command1_1", "Command1(1)", {1680, 1080, 975, 375}},
                    Placement{"Command1_2", "Command1(2)", {1680, 1560, 975, 375}},
                    Placement{"Command1_3", "Command1(3)", {1680, 2040, 975, 375}},
                    Placement{"Command1_4", "Command1(4)", {1680, 2520, 975, 375}},
                    Placement{"Command1_5", "Command1(5)", {1680, 3000, 975, 375}},
                    Placement{"Command1_6", "Command1(6)", {4440, 1080, 975, 375}},
                    Placement{"Command1_7", "Command1(7)", {4440, 1560, 975, 375}},
                    Placement{"Command1_8", "Command1(8)", {4440, 2040, 975, 375}},
                    Placement{"Command1_9", "Command1(9)", {4440, 2520, 975, 375}},
                    Placement{"Command1_10", "Command1(10)", {4440, 3000, 975, 375}},
                    Placement{"txtNum", "txtNum", {840, 8040, 4575, 375}},
                    Placement{"Text10", "Text10", {840, 8640, 8415, 375}},
                    Placement{"Label27", "Label27", {8760, 7680, 3975, 255}}),
    ByName{});

TEST(Form1, EveryButtonSitsOnTheRowOfItsLabelRightOfIt)
{
    for (std::int16_t i = 0; i <= 10; ++i) {
        const ControlDescription* button = find("Command1(" + std::to_string(i) + ")");
        ASSERT_NE(button, nullptr);
        const ControlDescription* label = find(std::string(button->labelledBy));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(windowRect(*button).top, windowRect(*label).top) << "button " << i;
        EXPECT_GT(windowRect(*button).left, windowRect(*label).left) << "button " << i;
        EXPECT_EQ(button->caption, (i < 10 ? "*0" : "*") + std::to_string(i) + "#");
    }
    EXPECT_EQ(find("Label11")->caption, "PHOTO #10");
    EXPECT_EQ(find("Label3")->caption, "DOWNLOAD PHOTO CATALOG INFORMATION");
}

TEST(Form1, WindowCaptionSizeColourAndBorder)
{
    EXPECT_EQ(form1.caption, "KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)");
    EXPECT_EQ(form1.clientWidth, 5730);
    EXPECT_EQ(form1.clientHeight, 3705);
    EXPECT_EQ(form1.backColor.value, 0x00C0C0C0u);
    EXPECT_EQ(form1.font.face, "Tahoma");
    EXPECT_EQ(form1.font.points, 9.75);
    EXPECT_EQ(form1.font.weight, 700);
    EXPECT_TRUE(form1.minimizeButton);
    EXPECT_FALSE(form1.maximizeButton);
}

TEST(Form1, FocusOrderRunsByTabIndexThroughButtonsAndTextBoxes)
{
    std::vector<std::pair<int, std::string>> focusable;
    for (const auto& c : form1.controls)
        if (c.kind == platform::ControlKind::CommandButton ||
            c.kind == platform::ControlKind::TextBox)
            focusable.emplace_back(c.tabIndex.value_or(-1), keyOf(c));
    std::sort(focusable.begin(), focusable.end());
    std::vector<std::string> order;
    for (const auto& f : focusable)
        order.push_back(f.second);

    EXPECT_EQ(order, (std::vector<std::string>{
                         "txtNum", "Command1(5)", "Command1(4)", "Command1(3)", "Command1(2)",
                         "Command1(1)", "Command1(0)", "Command1(6)", "Text10", "Command1(7)",
                         "Command1(8)", "Command1(9)", "Command1(10)"}));
}

TEST(Form1, ControlsWithoutAHandlerAreNotBuilt)
{
    EXPECT_EQ(find("Timer1"), nullptr);
    EXPECT_EQ(find("MSComm1"), nullptr);
}

// The routing, through the real handler with fake services.
class Form1Routing : public testing::Test {
protected:
    void SetUp() override
    {
        window::runForm1(platform, commands);
        ASSERT_EQ(platform.built, &form1);
    }
    FakePlatformServices platform;
    FakeSoundService sound;
    tones::ToneCommands commands{platform, sound};
};

TEST_F(Form1Routing, ClickOnAnyCommand1MemberReachesTheHandlerWithItsIndex)
{
    for (std::int16_t i = 0; i <= 10; ++i)
        platform.sink({"Command1", i, platform::EventKind::Click});

    ASSERT_EQ(sound.played.size(), 11u);
    EXPECT_EQ(sound.played[0], native("/opt/kt5/00.wav"));
    EXPECT_EQ(sound.played[9], native("/opt/kt5/09.wav"));
    EXPECT_EQ(sound.played[10], native("/opt/kt5/10.wav"));
}

TEST_F(Form1Routing, EventsOfOtherControlsHaveNoHandler)
{
    for (const char* name : {"Frame1", "Label3", "txtNum", "Text10", "Label27", "Form1"})
        platform.sink({name, std::nullopt, platform::EventKind::Click});
    platform.sink({"Command1", std::nullopt, platform::EventKind::Click});

    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

} // namespace
} // namespace kt5::test
