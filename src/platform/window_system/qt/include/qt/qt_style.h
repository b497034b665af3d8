#pragma once

#include "layout/form_layout.h"

#include <QColor>
#include <QFont>

#include <optional>

namespace kt5::platform::qt {

// A colour in Qt: RGB as given, the desktop's colours from the application palette.
QColor qtColour(const layout::Colour& colour);

// The font at its pixel size and stretch; where its face is not installed, the desktop's own
// interface font takes its place.
QFont qtFont(const layout::Font& font);

// How wide an "l" of the font is drawn, in pixels, or nothing where its face is not installed.
std::optional<double> qtStemWidth(const layout::Font& font);

} // namespace kt5::platform::qt
