#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kt5::platform {

// A window as a backend builds it: every rule that follows from the window's description
// (parents, stacking, colours, focus order, accessible names, which texts must fit) is
// already worked out. A backend converts units, measures text, creates its native controls
// and applies these values; it decides none of them.

// In twips: 1/1440 inch, 15 to the pixel at 96 DPI.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// The desktop's own colours, which each backend looks up in its own way.
enum class SystemColour { ButtonFace, ButtonText, Window, WindowText };

using Colour = std::variant<Rgb, SystemColour>;

struct Font {
    std::string_view face;
    double points = 0;
    int weight = 400; // 400 regular, 700 bold
    int charset = 0;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int stretch = 100; // percent of the face's normal width

    friend constexpr bool operator==(const Font&, const Font&) = default;
};

enum class ControlKind { Frame, CommandButton, Label, TextBox };

struct ControlLayout {
    ControlKind kind = ControlKind::Label;
    std::string_view name;
    std::optional<std::int16_t> index; // member of a control array
    std::string id;                    // unique: the name, or "Name(Index)" for array members
    std::optional<std::size_t> parent; // a frame among the controls; none: the window
    Rect rect;                         // in the parent's coordinates, from its outer corner
    Rect windowRect;                   // the same rectangle in the window's client area
    std::string_view text;
    std::size_t font = 0; // into WindowLayout::fonts
    Colour foreground;
    Colour background;
    std::string accessibleName = {}; // empty: the toolkit's own
    bool takesFocus = false;
};

// A text that must be seen whole in its control: the control's font is narrowed until it fits.
struct TextToFit {
    std::size_t control;
    int width; // twips
};

struct WindowLayout;

// How wide `text` is drawn in `font`, in twips, at the window's present resolution.
using MeasureText = std::function<double(const Font& font, std::string_view text)>;

// The fonts every control is drawn in once each text fits: the layout's own fonts, plus a
// narrowed copy for each control whose text would otherwise not fit.
struct FittedFonts {
    std::vector<Font> fonts;
    std::vector<std::size_t> fontOfControl;
};

struct WindowLayout {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    Colour background;
    std::string_view icon; // the name of the program's icon among its resources
    // A fixed single border: the user cannot resize; minimise and close, never maximise.
    bool minimizeButton = true;
    bool maximizeButton = false;
    // Where a frame's caption starts, from the left end of its border line.
    int frameCaptionInset = 0; // twips

    std::vector<Font> fonts = {};
    std::vector<ControlLayout> controls = {}; // a frame comes before the controls inside it
    std::vector<std::size_t> stacking = {};   // bottom to top among the controls of one parent
    std::vector<std::size_t> focusOrder = {}; // Tab's walk; the first has the focus first
    std::vector<TextToFit> textsToFit = {};

    // The one rule for narrowing fonts; a backend calls it again when its resolution changes.
    FittedFonts (*fitFonts)(const WindowLayout& layout, const MeasureText& measure) = nullptr;
};

} // namespace kt5::platform
