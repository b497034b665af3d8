#pragma once

#include "platform/window_layout.h"

#include <QColor>
#include <QFont>

namespace kt5::platform::qt {

// A colour in Qt: RGB as given, the desktop's colours from the application palette.
QColor qtColour(const Colour& colour);

// The font at its pixel size and stretch; where its face is not installed, the desktop's own
// interface font takes its place.
QFont qtFont(const Font& font);

} // namespace kt5::platform::qt
