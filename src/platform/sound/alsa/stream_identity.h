#pragma once

#include "platform/program_identity.h"

namespace kt5::platform::alsa {

// Gives the program's sound streams its display name and icon in the desktop's sound
// settings, and no role, on whichever sound server ALSA's default device reaches.
void nameTheProgramsStreams(const ProgramIdentity& identity);

} // namespace kt5::platform::alsa
