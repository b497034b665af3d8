#include "platform/qt/qt_style.h"

#include "platform/qt/qt_text.h"
#include "platform/qt/qt_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>

#include <algorithm>

namespace kt5::platform::qt {

namespace {

QPalette::ColorRole roleOf(SystemColour colour)
{
    switch (colour) {
    case SystemColour::ButtonText:
        return QPalette::ButtonText;
    case SystemColour::Window:
        return QPalette::Base;
    case SystemColour::WindowText:
        return QPalette::Text;
    case SystemColour::ButtonFace:
        break;
    }
    return QPalette::Button;
}

// The desktop's own interface font is the closest match to a Windows interface face, and it
// is already loaded, so no search for a fallback slows the start. Looked up in the list of
// families rather than by hasFamily(), which resolves aliases at several times the cost.
QString installedFace(std::string_view face)
{
    const QString wanted = qtString(face);
    return QFontDatabase::families().contains(wanted) ? wanted : QApplication::font().family();
}

} // namespace

QColor qtColour(const Colour& colour)
{
    if (const auto* system = std::get_if<SystemColour>(&colour))
        return QApplication::palette().color(roleOf(*system));
    const auto& rgb = std::get<Rgb>(colour);
    return {rgb.red, rgb.green, rgb.blue};
}

QFont qtFont(const Font& font)
{
    QFont result(installedFace(font.face));
    result.setPixelSize(pixelsFromPoints(font.points));
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeout);
    if (font.stretch != 100)
        result.setStretch(font.stretch);
    return result;
}

} // namespace kt5::platform::qt
