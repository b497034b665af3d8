#pragma once

#include "platform/native_string.h"

#include <memory>

namespace kt5::platform {

// Plays named wave files on the default sound output.
class SoundService {
public:
    virtual ~SoundService() = default;

    // Plays the wave file at `path` to its end and returns true once the last sample has been
    // played. Returns false at once, having played nothing, when the file cannot be played
    // (missing, unreadable, not a regular file, not a RIFF/WAVE file, too large) or the output
    // cannot be opened. Also returns false at once, without cutting it off or waiting for it,
    // while another sound of this process is still sounding, whichever thread started it.
    virtual bool playFileSync(const NativeString& path) = 0;
};

std::unique_ptr<SoundService> createSoundService();

} // namespace kt5::platform
