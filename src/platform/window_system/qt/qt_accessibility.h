#pragma once

class QWidget;

namespace kt5::platform::qt {

// How the window is presented to assistive technology, which must present what a sighted
// user sees. Each holds from its call on, whatever Qt made of the widget before; what Qt told
// assistive technology of the widget before the call went Qt's own way.

// The form is a frame, a window with its title, as a screen reader lists windows.
void presentAsFrame(QWidget& form);

// A control that lies wholly outside the visible area is not presented at all: not among the
// form's children, neither showing nor visible nor focusable. It keeps the keyboard focus in
// its turn, where nothing visible is focused, so a screen reader has nothing to announce then.
void presentNothingOf(QWidget& control);

} // namespace kt5::platform::qt
