#include "platform/qt/qt_style.h"

#include "platform/qt/qt_text.h"
#include "platform/qt/qt_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPalette>

#include <algorithm>

namespace kt5::platform::qt {

namespace {

QPalette::ColorRole roleForSystemColor(int index)
{
    switch (index) {
    case 5: // COLOR_WINDOW
        return QPalette::Base;
    case 8: // COLOR_WINDOWTEXT
        return QPalette::Text;
    case 13: // COLOR_HIGHLIGHT
        return QPalette::Highlight;
    case 14: // COLOR_HIGHLIGHTTEXT
        return QPalette::HighlightedText;
    case kSysColorButtonText:
        return QPalette::ButtonText;
    case kSysColorButtonFace:
    default:
        return QPalette::Button;
    }
}

bool allFit(const QFont& font, const std::vector<std::pair<QString, int>>& textsAndWidths)
{
    const QFontMetrics metrics(font);
    return std::all_of(textsAndWidths.begin(), textsAndWidths.end(), [&](const auto& entry) {
        return metrics.horizontalAdvance(entry.first) <= entry.second;
    });
}

// The described face where it is installed; otherwise the desktop's own interface font, the
// closest match to a Windows interface face, and already loaded, so no search for a
// fallback slows the start.
QString installedFace(std::string_view face)
{
    const QString wanted = qtString(face);
    return QFontDatabase::hasFamily(wanted) ? wanted : QApplication::font().family();
}

} // namespace

QColor qtColor(const Color& color)
{
    if (color.isSystem())
        return QApplication::palette().color(roleForSystemColor(color.systemIndex()));
    return {color.red(), color.green(), color.blue()};
}

QFont qtFont(const Font& font, const std::vector<std::pair<QString, int>>& textsAndWidths)
{
    QFont result(installedFace(font.face));
    result.setPixelSize(pixelsFromPoints(font.points));
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeout);

    // A wider substitute would clip a label's text; condense in small steps until it fits.
    for (int stretch = 100; stretch >= 50 && !allFit(result, textsAndWidths); stretch -= 5)
        result.setStretch(stretch - 5);
    return result;
}

} // namespace kt5::platform::qt
