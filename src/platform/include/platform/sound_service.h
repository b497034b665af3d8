#pragma once

#include "platform/native_string.h"
#include "platform/playback_result.h"
#include "platform/program_identity.h"

#include <memory>

namespace kt5::platform {

// Plays named wave files on the default sound output.
class SoundService {
public:
    virtual ~SoundService() = default;

    // Plays the wave file at `path` to its end, and returns once the last sample has been
    // played. Fails at once, having played nothing, when the file cannot be played whole or
    // the output cannot be opened, and while another sound of this process is still sounding
    // (which is neither cut off nor waited for) or the output has not returned from the last
    // one. A sound's length is its frames at its rate. However the output behaves, returns
    // within that length and a grace of a few seconds, never waiting on a call the output may
    // not return from; a sound that cannot end in time is not started, and one that overran
    // is stopped.
    virtual PlaybackResult play(const NativeString& path) = 0;
};

// The sound service of the platform this program was built for. Where the desktop's sound
// settings list streams by program, the program's streams carry its display name and icon,
// and no role, so that a user who moves them to another output once finds them there again.
// Call it before any other thread starts: it may set up the process's environment for the
// sound libraries.
std::unique_ptr<SoundService> createSoundService(const ProgramIdentity& identity);

} // namespace kt5::platform
