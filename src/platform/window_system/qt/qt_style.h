#pragma once

#include "layout/form_layout.h"

#include <QColor>
#include <QFont>

namespace kt5::platform::qt {

// A colour in Qt: RGB as given, the desktop's colours from the application palette.
QColor qtColour(const layout::Colour& colour);

// The font at its pixel size and stretch; where its face is not installed, the desktop's own
// interface font takes its place.
QFont qtFont(const layout::Font& font);

} // namespace kt5::platform::qt
