#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kt5::platform {

// A window described as data, in twips (1/1440 inch; 15 twips are one pixel at 96 DPI).
// Backends build it; each converts twips to its own units in one place.

// A colour as an OLE_COLOR: 0x00BBGGRR for an RGB value, or 0x800000nn for the system colour
// with index nn (the Windows GetSysColor indexes).
struct Color {
    std::uint32_t value;

    constexpr bool isSystem() const { return (value & 0x80000000u) != 0; }
    constexpr int systemIndex() const { return static_cast<int>(value & 0xFFu); }
    constexpr int red() const { return static_cast<int>(value & 0xFFu); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFFu); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFFu); }
};

constexpr Color rgb(int r, int g, int b)
{
    return {static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
            static_cast<std::uint32_t>(b) << 16};
}

inline constexpr int kSysColorButtonFace = 15; // COLOR_BTNFACE
inline constexpr int kSysColorButtonText = 18; // COLOR_BTNTEXT
inline constexpr Color kButtonFace{0x80000000u | kSysColorButtonFace};
inline constexpr Color kButtonText{0x80000000u | kSysColorButtonText};

struct Font {
    std::string_view face;
    double points;
    int weight; // 400 regular, 700 bold
    int charset = 0;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    friend constexpr bool operator==(const Font&, const Font&) = default;
};

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

enum class ControlKind { Frame, CommandButton, Label, TextBox };

struct ControlDescription {
    ControlKind kind = ControlKind::Label;
    std::string_view name;
    std::optional<std::int16_t> index = {}; // member of a control array
    std::string_view parent = {};           // empty: the window itself
    std::string_view caption = {};          // caption, or text of a text box
    Rect rect = {};                         // in the parent's coordinates, from its outer corner
    std::optional<int> tabIndex = {};
    std::optional<Font> font = {};       // absent: the window's font
    std::optional<Color> foreColor = {}; // absent: the platform's colour for the kind
    std::optional<Color> backColor = {};
    std::string_view labelledBy = {}; // the label that says what this control does
};

struct WindowDescription {
    std::string_view name;
    std::string_view caption;
    int clientWidth;
    int clientHeight;
    Color backColor;
    Font font;
    // Fixed single border: the user cannot resize; minimise and close, never maximise.
    bool minimizeButton;
    bool maximizeButton;
    std::string_view icon; // the name of the program's icon among its resources
    std::span<const ControlDescription> controls;
};

} // namespace kt5::platform
