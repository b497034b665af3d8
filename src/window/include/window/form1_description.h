#pragma once

#include "layout/form_description.h"

#include <cstdint>

namespace kt5::window {

// What Form1 does on its controls' events: the handlers its description binds controls to.
enum class Form1Handler : std::uint8_t { Command1_Click };

// The program's one window: a "Remote Control Command" panel of eleven command buttons, each
// beside the label of its command.
const layout::FormDescription& form1Description();

} // namespace kt5::window
