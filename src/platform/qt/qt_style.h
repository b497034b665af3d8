#pragma once

#include "platform/window_description.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <utility>
#include <vector>

namespace kt5::platform::qt {

// A described colour in Qt: RGB as given, system colours from the application palette.
QColor qtColor(const Color& color);

// The described font at its pixel size. Where the face is not installed, Qt's closest
// substitute is narrowed, if need be, until every text fits the width it was given.
QFont qtFont(const Font& font, const std::vector<std::pair<QString, int>>& textsAndWidths);

} // namespace kt5::platform::qt
