// What the layout engine works out from Form1's description, checked as the window's
// invariants rather than its table copied back; the conformance suite checks their use.
#include "layout/layout.h"
#include "window/form1_description.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kt5::test {
namespace {

using layout::ControlKind;

const layout::WindowDescription& form1 = window::form1Description();
const layout::WindowLayout resolved = layout::resolveLayout(form1);

const layout::ControlLayout& control(std::string_view id)
{
    return *std::find_if(resolved.controls.begin(), resolved.controls.end(),
                         [&](const auto& c) { return c.id == id; });
}

std::size_t stackPosition(const layout::ControlLayout& c)
{
    const auto index = static_cast<std::size_t>(&c - resolved.controls.data());
    return static_cast<std::size_t>(
        std::find(resolved.stacking.begin(), resolved.stacking.end(), index) -
        resolved.stacking.begin());
}

TEST(Form1Layout, EveryButtonLiesOnItsLabelsRowRightOfAndAboveIt)
{
    for (const auto& d : form1.controls) {
        if (d.kind != ControlKind::CommandButton)
            continue;
        const auto& button = control("Command1(" + std::to_string(*d.index) + ")");
        const auto& label = control(d.labelledBy);
        EXPECT_EQ(button.windowRect.top, label.windowRect.top) << button.id;
        EXPECT_GT(button.windowRect.left, label.windowRect.left) << button.id;
        EXPECT_GT(stackPosition(button), stackPosition(label)) << "some labels reach under";
    }
    // Buttons 9 and 10 belong to the window, in the frame's right column, above the frame.
    for (const std::string_view id : {"Command1(9)", "Command1(10)"}) {
        EXPECT_FALSE(control(id).parent.has_value()) << id;
        EXPECT_EQ(control(id).windowRect.left, control("Command1(8)").windowRect.left) << id;
        EXPECT_GT(stackPosition(control(id)), stackPosition(control("Frame1"))) << id;
    }
}

} // namespace
} // namespace kt5::test
