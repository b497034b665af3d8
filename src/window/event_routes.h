#pragma once

#include "platform/window.h"
#include "tones/tone_commands.h"

namespace kt5::window {

// Hands an event of Form1 to its handler. Only a click on a member of the Command1 array has
// one (Command1_Click, with the member's index); every other event is ignored.
void routeEvent(tones::ToneCommandHandler& commands, const platform::ControlEvent& event);

} // namespace kt5::window
