#pragma once

#include "layout/form_layout.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kt5::layout {

// A form: a window described as data, in twips, as its designer laid it out. resolveLayout()
// turns it into what a backend builds the window from.

// A colour as the designer gives it, an OLE_COLOR: 0x00BBGGRR for an RGB value, or
// 0x800000nn for the system colour with index nn. resolveLayout() turns it into a Colour.
struct OleColor {
    std::uint32_t value;
};

constexpr OleColor rgb(int r, int g, int b)
{
    return {static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
            static_cast<std::uint32_t>(b) << 16};
}

inline constexpr OleColor kButtonFace{0x8000000Fu};

struct ControlDescription {
    ControlKind kind = ControlKind::Label;
    std::string_view name;
    std::optional<std::int16_t> index = {}; // member of a control array
    std::string_view parent = {};           // empty: the window itself
    std::string_view caption = {};          // caption, or text of a text box
    Rect rect = {};                         // in the parent's coordinates, from its outer corner
    std::optional<int> tabIndex = {};
    std::optional<Font> font = {};          // absent: the window's font
    std::optional<OleColor> foreColor = {}; // absent: the platform's colour for the kind
    std::optional<OleColor> backColor = {};
    std::string_view labelledBy = {}; // the label that says what this control does
    // The handler a click on the control runs, by the number the window's owner gives it.
    std::optional<std::uint8_t> onClick = {};
};

struct FormDescription {
    std::string_view name;
    std::string_view caption;
    int clientWidth;
    int clientHeight;
    OleColor backColor;
    Font font;
    bool minimizeButton;
    bool maximizeButton;
    std::string_view icon;
    std::span<const ControlDescription> controls;
};

} // namespace kt5::layout
