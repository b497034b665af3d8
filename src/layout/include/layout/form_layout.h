#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kt5::layout {

// A form as a backend builds its window: every rule that follows from the form's description
// (parents, stacking, colours, focus order, accessible names, which texts must fit) is
// already worked out. A backend converts units, measures text, creates its native controls
// and applies these values; it decides none of them.

// Every position and size is in twips: 1/1440 inch, 15 to the pixel at the reference 96 DPI.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kReferenceDpi = 96;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / kReferenceDpi;

// Twips as pixels at the reference DPI, to the nearest pixel.
constexpr int pixelsAtReferenceDpi(int twips)
{
    return (twips + (twips >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
}

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
    std::size_t font = 0; // into FormLayout::fonts
    Colour foreground;
    Colour background;
    std::string accessibleName = {}; // empty: the toolkit's own
    bool takesFocus = false;
    // Whether any of it lies inside the client area. One that does not is never seen, so it
    // is not presented to assistive technology either; it still takes the focus in its turn.
    bool onScreen = true;
    std::optional<std::uint8_t> onClick = {}; // as the description binds it
};

// A label's text, which must be seen whole. A label is drawn on its parent's surface, in the
// same colour, so its text may reach past its box up to `room`: the nearest control on its
// rows to its right, or the inner edge of its parent.
struct TextToFit {
    std::size_t control;
    int room; // twips, from the label's left edge
};

// A frame is drawn as a group box: a border whose top line runs through the middle of the
// caption's text and is broken around it, the caption padded and inset from the line's start.
struct FrameCaption {
    int inset = 0;                 // twips, from the left end of the border line
    std::string_view padding = ""; // on either side of the caption's text

    // Where the top line of the border lies for a caption text this high, in any unit.
    static constexpr int borderTop(int textHeight) { return textHeight / 2; }
    std::string padded(std::string_view text) const
    {
        return std::string(padding) + std::string(text) + std::string(padding);
    }
};

struct FormLayout {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    Colour background;
    std::string_view icon; // the name of the program's icon among its resources
    // A fixed single border: the user cannot resize; minimise and close, never maximise.
    bool minimizeButton = true;
    bool maximizeButton = false;
    FrameCaption frameCaption;
    // No text box can be seen, so none shows a blinking caret: it would wake the program
    // twice a second for nothing anyone sees.
    bool steadyCaret = false;

    std::vector<Font> fonts = {};
    std::vector<ControlLayout> controls = {}; // a frame comes before the controls inside it
    std::vector<std::size_t> stacking = {};   // bottom to top among the controls of one parent
    std::vector<std::size_t> focusOrder = {}; // Tab's walk; the first has the focus first
    std::vector<TextToFit> textsToFit = {};
};

} // namespace kt5::layout
