#pragma once

#include "layout/window_description.h"

namespace kt5::window {

// The program's one window: a "Remote Control Command" panel of eleven command buttons, each
// beside the label of its command.
const layout::WindowDescription& form1Description();

} // namespace kt5::window
