#include "layout/layout.h"

#include "layout/font_fitting.h"

#include <algorithm>
#include <string>

namespace kt5::layout {

namespace {

// Where a frame's caption begins along its border line, and the space either side of it, as
// Windows draws a group box: 8 pixels at 96 DPI, and a blank.
constexpr FrameCaption kGroupBoxCaption{.inset = 8 * kTwipsPerPixel, .padding = " "};
// A frame's border inside its box: 2 pixels at 96 DPI, as Windows draws a group box.
constexpr int kFrameBorder = 2 * kTwipsPerPixel;

// The system colours a description may name, by their OLE_COLOR index.
Colour resolveColour(OleColor color, Colour fallback)
{
    if ((color.value & 0x80000000u) == 0)
        return Rgb{static_cast<std::uint8_t>(color.value & 0xFFu),
                   static_cast<std::uint8_t>((color.value >> 8) & 0xFFu),
                   static_cast<std::uint8_t>((color.value >> 16) & 0xFFu)};
    switch (color.value & 0xFFu) {
    case 5:
        return SystemColour::Window;
    case 8:
        return SystemColour::WindowText;
    case 15:
        return SystemColour::ButtonFace;
    case 18:
        return SystemColour::ButtonText;
    default:
        return fallback;
    }
}

// The colours a kind of control has where its description names none: text boxes are
// drawn like a window's content, everything else like a button.
Colour defaultForeground(ControlKind kind)
{
    return kind == ControlKind::TextBox ? SystemColour::WindowText : SystemColour::ButtonText;
}

Colour defaultBackground(ControlKind kind)
{
    return kind == ControlKind::TextBox ? SystemColour::Window : SystemColour::ButtonFace;
}

std::string idOf(const ControlDescription& c)
{
    std::string id(c.name);
    if (c.index)
        id += "(" + std::to_string(*c.index) + ")";
    return id;
}

// The controls of the description with a frame before everything inside it.
std::vector<const ControlDescription*> parentsFirst(const FormDescription& d)
{
    std::vector<const ControlDescription*> ordered;
    for (const auto& c : d.controls)
        ordered.push_back(&c);
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const ControlDescription* c) { return c->parent.empty(); });
    return ordered;
}

bool overlaps(const Rect& r, int width, int height)
{
    return r.left < width && r.top < height && r.left + r.width > 0 && r.top + r.height > 0;
}

// How far right of a label's left edge its text can be seen: up to the nearest control that
// lies on its rows to its right, whoever its parent, or else the inner edge of its own parent.
int roomOf(const FormLayout& layout, std::size_t label)
{
    const ControlLayout& l = layout.controls[label];
    int right = layout.clientWidth;
    if (l.parent) {
        const Rect& frame = layout.controls[*l.parent].windowRect;
        right = frame.left + frame.width - kFrameBorder;
    }
    const Rect& box = l.windowRect;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const Rect& r = layout.controls[i].windowRect;
        const bool onItsRows = r.top < box.top + box.height && r.top + r.height > box.top;
        if (i != label && l.parent != i && onItsRows && r.left > box.left)
            right = std::min(right, r.left);
    }
    return right - box.left;
}

} // namespace

FormLayout resolveLayout(const FormDescription& d)
{
    FormLayout layout{
        .name = d.name,
        .caption = d.caption,
        .clientWidth = d.clientWidth,
        .clientHeight = d.clientHeight,
        .background = resolveColour(d.backColor, SystemColour::ButtonFace),
        .icon = d.icon,
        .minimizeButton = d.minimizeButton,
        .maximizeButton = d.maximizeButton,
        .frameCaption = kGroupBoxCaption,
        .fonts = {d.font},
    };

    const auto described = parentsFirst(d);
    const auto indexOf = [&](std::string_view name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < layout.controls.size(); ++i)
            if (layout.controls[i].name == name && !layout.controls[i].index)
                return i;
        return std::nullopt;
    };
    for (const ControlDescription* c : described) {
        ControlLayout control{
            .kind = c->kind,
            .name = c->name,
            .index = c->index,
            .id = idOf(*c),
            .parent = c->parent.empty() ? std::nullopt : indexOf(c->parent),
            .rect = c->rect,
            .windowRect = c->rect,
            .text = c->caption,
            .font = fontIndex(layout.fonts, c->font.value_or(d.font)),
            .foreground = c->foreColor ? resolveColour(*c->foreColor, defaultForeground(c->kind))
                                       : defaultForeground(c->kind),
            .background = c->backColor ? resolveColour(*c->backColor, defaultBackground(c->kind))
                                       : defaultBackground(c->kind),
            .takesFocus =
                (c->kind == ControlKind::CommandButton || c->kind == ControlKind::TextBox) &&
                c->tabIndex.has_value(),
        };
        if (control.parent) {
            const Rect& origin = layout.controls[*control.parent].windowRect;
            control.windowRect.left += origin.left;
            control.windowRect.top += origin.top;
        }
        control.onScreen = overlaps(control.windowRect, d.clientWidth, d.clientHeight);
        control.onClick = c->onClick;
        layout.controls.push_back(std::move(control));
    }

    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlDescription& c = *described[i];
        // A screen reader says what a button does, not only its key sequence: "*03# PHOTO #3".
        if (const auto label = indexOf(c.labelledBy))
            layout.controls[i].accessibleName =
                std::string(c.caption) + " " + std::string(layout.controls[*label].text);
        if (c.kind == ControlKind::Label && !c.caption.empty())
            layout.textsToFit.push_back({i, roomOf(layout, i)});
    }

    // Labels are drawn on their parent's surface, below every control of the same parent
    // that is a window of its own; among those, a later one lies above an earlier one.
    for (const bool labels : {true, false})
        for (std::size_t i = 0; i < layout.controls.size(); ++i)
            if ((layout.controls[i].kind == ControlKind::Label) == labels)
                layout.stacking.push_back(i);

    layout.steadyCaret = std::none_of(layout.controls.begin(), layout.controls.end(), [](auto& c) {
        return c.kind == ControlKind::TextBox && c.onScreen;
    });

    std::vector<std::pair<int, std::size_t>> byTabIndex;
    for (std::size_t i = 0; i < layout.controls.size(); ++i)
        if (layout.controls[i].takesFocus)
            byTabIndex.emplace_back(*described[i]->tabIndex, i);
    std::sort(byTabIndex.begin(), byTabIndex.end());
    for (const auto& entry : byTabIndex)
        layout.focusOrder.push_back(entry.second);
    return layout;
}

} // namespace kt5::layout
