#pragma once

#include "platform/platform_services.h"
#include "tones/tone_commands.h"

namespace kt5::window {

// Builds Form1, shows it and runs it until the user closes it. False, having said why on the
// platform's error output, when the window could not be built.
bool runForm1(platform::PlatformServices& platform, tones::ToneCommands& commands);

} // namespace kt5::window
