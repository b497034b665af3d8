#pragma once

#include "platform/window_layout.h"
#include "window/window_description.h"

namespace kt5::window {

// Works out, once and for every backend, what the description implies: where each control
// lies in the window, how controls stack, their colours where the description gives none,
// the focus order, what each button says to a screen reader, and which texts must fit.
// The layout's strings refer into the description, which must outlive it.
platform::WindowLayout resolveLayout(const WindowDescription& description);

} // namespace kt5::window
