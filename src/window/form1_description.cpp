#include "window/form1_description.h"

#include "product/product.h"
#include "tones/tone_command_table.h"

#include <array>

namespace kt5::window {

namespace {

using layout::ControlDescription;
using layout::ControlKind;
using layout::Font;
using layout::OleColor;

constexpr Font kTahomaBold{.face = "Tahoma", .points = 9.75, .weight = 700};
constexpr Font kMsSansSerif{.face = "MS Sans Serif", .points = 8.25, .weight = 400};
constexpr OleColor kGreyText = layout::rgb(128, 128, 128);

constexpr std::string_view kWindow = "";
constexpr std::string_view kFrame = "Frame1";

// A Command1 member, captioned with its command's keys; all are 975 x 375 and use the
// window's font.
constexpr ControlDescription button(std::int16_t index, std::string_view parent, int left, int top,
                                    int tabIndex, std::string_view label)
{
    return {.kind = ControlKind::CommandButton,
            .name = "Command1",
            .index = index,
            .parent = parent,
            .caption = tones::kToneCommandTable[static_cast<std::size_t>(index)].keys,
            .rect = {left, top, 975, 375},
            .tabIndex = tabIndex,
            .labelledBy = label,
            .onClick = static_cast<std::uint8_t>(Form1Handler::Command1_Click)};
}

// A label of the panel; all are 375 high and use the window's font.
constexpr ControlDescription label(std::string_view name, std::string_view caption, int left,
                                   int top, int width, int tabIndex)
{
    return {.kind = ControlKind::Label,
            .name = name,
            .parent = kFrame,
            .caption = caption,
            .rect = {left, top, width, 375},
            .tabIndex = tabIndex};
}

// Positions of the panel's children are in frame coordinates, from the frame's outer corner.
// Buttons 9 and 10 belong to the window itself, at the frame's offset (120, 240) plus their
// rows' frame positions, so they lie above the frame on the rows of their labels.
//
// Three controls lie below the visible area and are never seen; they are built because the
// focus order runs through them, and the window opens with the focus on txtNum so that no
// button shows a focus mark. The form's once-a-second timer has no handler and its serial
// port control is never opened: neither is built, a wake-up every second would cost power
// for nothing.
constexpr std::array<ControlDescription, 26> kControls{{
    {.kind = ControlKind::Frame,
     .name = "Frame1",
     .parent = kWindow,
     .caption = "Remote Control Command",
     .rect = {120, 240, 5535, 3375},
     .tabIndex = 1,
     .font = kMsSansSerif,
     .foreColor = kGreyText},

    label("Label3", "DOWNLOAD PHOTO CATALOG INFORMATION", 120, 360, 4215, 8),
    label("Label4", "PHOTO #1", 120, 840, 1215, 9),
    label("Label5", "PHOTO #2", 120, 1320, 1335, 10),
    label("Label6", "PHOTO #3", 120, 1800, 1335, 11),
    label("Label7", "PHOTO #4", 120, 2280, 1095, 12),
    label("Label8", "PHOTO #5", 120, 2760, 975, 13),
    label("Label9", "PHOTO #6", 3000, 840, 1095, 14),
    label("Label1", "PHOTO #7", 3000, 1320, 1215, 20),
    label("Label2", "PHOTO #8", 3000, 1800, 1455, 19),
    label("Label10", "PHOTO #9", 3000, 2280, 1455, 24),
    label("Label11", "PHOTO #10", 3000, 2760, 1455, 25),

    button(0, kFrame, 4320, 360, 7, "Label3"),
    button(1, kFrame, 1560, 840, 6, "Label4"),
    button(2, kFrame, 1560, 1320, 5, "Label5"),
    button(3, kFrame, 1560, 1800, 4, "Label6"),
    button(4, kFrame, 1560, 2280, 3, "Label7"),
    button(5, kFrame, 1560, 2760, 2, "Label8"),
    button(6, kFrame, 4320, 840, 15, "Label9"),
    button(7, kFrame, 4320, 1320, 17, "Label1"),
    button(8, kFrame, 4320, 1800, 18, "Label2"),
    button(9, kWindow, 4440, 2520, 22, "Label10"),
    button(10, kWindow, 4440, 3000, 23, "Label11"),

    {.kind = ControlKind::TextBox,
     .name = "txtNum",
     .parent = kWindow,
     .caption = "",
     .rect = {840, 8040, 4575, 375},
     .tabIndex = 0,
     .backColor = layout::kButtonFace},
    {.kind = ControlKind::TextBox,
     .name = "Text10",
     .parent = kWindow,
     .caption = "Text10",
     .rect = {840, 8640, 8415, 375},
     .tabIndex = 16,
     .font = kMsSansSerif},
    {.kind = ControlKind::Label,
     .name = "Label27",
     .parent = kWindow,
     .caption = "",
     .rect = {8760, 7680, 3975, 255},
     .tabIndex = 21,
     .font = kMsSansSerif,
     .foreColor = kGreyText},
}};

constexpr layout::FormDescription kForm1{
    .name = "Form1",
    .caption = product::kWindowCaption,
    .clientWidth = 5730,
    .clientHeight = 3705,
    .backColor = layout::rgb(192, 192, 192),
    .font = kTahomaBold,
    .minimizeButton = true,
    .maximizeButton = false,
    .icon = product::kProgramName, // its icon among the executable's resources
    .controls = kControls,
};

} // namespace

const layout::FormDescription& form1Description()
{
    return kForm1;
}

} // namespace kt5::window
