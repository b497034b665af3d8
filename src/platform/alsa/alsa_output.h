#pragma once

#include "platform/alsa/decoded_sound.h"

namespace kt5::platform::alsa {

// Plays a sound on ALSA's "default" PCM and returns once it has been drained. False when the
// device is missing, busy or refuses the sound's format, when writing fails beyond recovery,
// or when draining overruns a limit derived from the sound's length (the rest is dropped,
// so a stuck plugin cannot hold the caller for ever).
bool playOnDefaultOutput(const DecodedSound& sound);

} // namespace kt5::platform::alsa
