#pragma once

#include "platform/native_string.h"
#include "platform/sound_service.h"

namespace kt5::tones {

// Plays the wave file at `path` synchronously; true when it was played to its end, false when
// it could not be played at all (see SoundService::playFileSync).
bool PlayWaveFile(platform::SoundService& sound, const platform::NativeString& path);

} // namespace kt5::tones
