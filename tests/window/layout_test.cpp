// The rules resolved once from the window's description for every backend, checked as its
// invariants rather than its table copied back; the conformance suite checks their use.
#include "window/form1_description.h"
#include "window/layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kt5::test {
namespace {

using platform::ControlKind;

const window::WindowDescription& form1 = window::form1Description();
const platform::WindowLayout layout = window::resolveLayout(form1);

const platform::ControlLayout& control(std::string_view id)
{
    return *std::find_if(layout.controls.begin(), layout.controls.end(),
                         [&](const auto& c) { return c.id == id; });
}

std::size_t stackPosition(const platform::ControlLayout& c)
{
    const auto index = static_cast<std::size_t>(&c - layout.controls.data());
    return static_cast<std::size_t>(
        std::find(layout.stacking.begin(), layout.stacking.end(), index) - layout.stacking.begin());
}

TEST(Form1Layout, EveryButtonLiesOnItsLabelsRowRightOfAndAboveItAndIsNamedAfterIt)
{
    for (const auto& d : form1.controls) {
        if (d.kind != ControlKind::CommandButton)
            continue;
        const auto& button = control("Command1(" + std::to_string(*d.index) + ")");
        const auto& label = control(d.labelledBy);
        EXPECT_EQ(button.windowRect.top, label.windowRect.top) << button.id;
        EXPECT_GT(button.windowRect.left, label.windowRect.left) << button.id;
        EXPECT_GT(stackPosition(button), stackPosition(label)) << "some labels reach under";
        EXPECT_EQ(button.accessibleName, std::string(button.text) + " " + std::string(label.text));
    }
    // Buttons 9 and 10 belong to the window, in the frame's right column, above the frame.
    for (const std::string_view id : {"Command1(9)", "Command1(10)"}) {
        EXPECT_FALSE(control(id).parent.has_value()) << id;
        EXPECT_EQ(control(id).windowRect.left, control("Command1(8)").windowRect.left) << id;
        EXPECT_GT(stackPosition(control(id)), stackPosition(control("Frame1"))) << id;
    }
}

TEST(Form1Layout, FocusWalksButtonsAndTextBoxesByTabIndexStartingOffScreen)
{
    std::vector<int> tabIndexes;
    for (const std::size_t i : layout.focusOrder)
        for (const auto& d : form1.controls)
            if (d.name == layout.controls[i].name && d.index == layout.controls[i].index)
                tabIndexes.push_back(*d.tabIndex);
    EXPECT_TRUE(std::is_sorted(tabIndexes.begin(), tabIndexes.end()));
    const auto focusable = std::count_if(form1.controls.begin(), form1.controls.end(), [](auto& d) {
        return d.kind == ControlKind::CommandButton || d.kind == ControlKind::TextBox;
    });
    EXPECT_EQ(std::ssize(layout.focusOrder), focusable);
    const auto& first = layout.controls[layout.focusOrder.front()];
    EXPECT_GE(first.windowRect.top, layout.clientHeight) << "the first focus shows no mark";
}

} // namespace
} // namespace kt5::test
