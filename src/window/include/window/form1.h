#pragma once

#include "platform/program_identity.h"
#include "platform/sound_service.h"

namespace kt5::window {

// Sets up the window system, builds Form1 with its clicks routed to the tone commands, shows
// it and runs it until the user closes it. False, having said why in one line, when the
// window could not be opened.
bool runForm1(const platform::ProgramIdentity& identity, platform::SoundService& sound);

} // namespace kt5::window
