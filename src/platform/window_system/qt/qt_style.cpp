#include "qt/qt_style.h"

#include "qt_text.h"
#include "qt_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPalette>

#include <algorithm>

namespace kt5::platform::qt {

namespace {

QPalette::ColorRole roleOf(layout::SystemColour colour)
{
    switch (colour) {
    case layout::SystemColour::ButtonText:
        return QPalette::ButtonText;
    case layout::SystemColour::Window:
        return QPalette::Base;
    case layout::SystemColour::WindowText:
        return QPalette::Text;
    case layout::SystemColour::ButtonFace:
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

QColor qtColour(const layout::Colour& colour)
{
    if (const auto* system = std::get_if<layout::SystemColour>(&colour))
        return QApplication::palette().color(roleOf(*system));
    const auto& rgb = std::get<layout::Rgb>(colour);
    return {rgb.red, rgb.green, rgb.blue};
}

QFont qtFont(const layout::Font& font)
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

std::optional<double> qtStemWidth(const layout::Font& font)
{
    if (!QFontDatabase::families().contains(qtString(font.face)))
        return std::nullopt;
    return QFontMetricsF(qtFont(font)).boundingRect(QChar(u'l')).width();
}

} // namespace kt5::platform::qt
