#pragma once

#include "platform/native_string.h"

#include <memory>
#include <string>
#include <string_view>

namespace kt5::platform {

enum class PlaybackError {
    None,
    FileMissing,
    NotRegularFile, // a directory, FIFO or device under the name
    Unreadable,
    Empty,
    TooLarge,
    NotRiffWave,  // another container, or no sound at all
    DataCutShort, // the file ends inside its header or audio
    CodecError,   // the decoder's own complaint
    LibraryMissing,
    DeviceNotOpened,
    DeviceFailed, // the output failed part-way through
    TimedOut,     // the output stopped taking the sound
    Busy,         // another sound of this process is still sounding
    Refused,      // the system's sound service refused the file and said no more
};

constexpr std::string_view describe(PlaybackError error)
{
    switch (error) {
    case PlaybackError::None:
        return "played";
    case PlaybackError::FileMissing:
        return "file missing";
    case PlaybackError::NotRegularFile:
        return "not a regular file";
    case PlaybackError::Unreadable:
        return "file unreadable";
    case PlaybackError::Empty:
        return "file empty";
    case PlaybackError::TooLarge:
        return "file too large for a tone";
    case PlaybackError::NotRiffWave:
        return "not a RIFF/WAVE sound file";
    case PlaybackError::DataCutShort:
        return "file cut short";
    case PlaybackError::CodecError:
        return "sound data cannot be decoded";
    case PlaybackError::LibraryMissing:
        return "sound library not found";
    case PlaybackError::DeviceNotOpened:
        return "sound output not opened";
    case PlaybackError::DeviceFailed:
        return "sound output failed during the tone";
    case PlaybackError::TimedOut:
        return "sound output timed out";
    case PlaybackError::Busy:
        return "another sound is still playing";
    case PlaybackError::Refused:
        return "the system sound service refused the file";
    }
    return "unknown failure";
}

struct PlaybackResult {
    PlaybackError error = PlaybackError::None;
    std::string detail; // the library's own words, where it gave any

    bool played() const { return error == PlaybackError::None; }
};

// Plays named wave files on the default sound output.
class SoundService {
public:
    virtual ~SoundService() = default;

    // Plays the wave file at `path` to its end, and returns once the last sample has been
    // played. Fails at once, having played nothing, when the file cannot be played or the
    // output cannot be opened, and while another sound of this process is still sounding
    // (which is neither cut off nor waited for). However the output behaves, returns within
    // the sound's length and a grace of a few seconds; a sound that overran is stopped.
    virtual PlaybackResult play(const NativeString& path) = 0;
};

std::unique_ptr<SoundService> createSoundService();

} // namespace kt5::platform
