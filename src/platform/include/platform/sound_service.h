#pragma once

#include "platform/native_string.h"
#include "platform/program_identity.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kt5::platform {

// Why a sound was not played.
enum class PlaybackError {
    FileMissing,
    NotRegularFile, // a directory, FIFO or device under the name
    Unreadable,
    Empty,
    TooLarge,     // larger, or longer, than a tone file can be
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

struct PlaybackFailure {
    PlaybackError error;
    std::string detail = {}; // the library's own words, where it gave any
};

// A sound played, or why not.
class PlaybackResult {
public:
    PlaybackResult() = default; // played
    PlaybackResult(PlaybackFailure failure)
        : failure_(std::move(failure))
    {
    }

    bool played() const { return !failure_.has_value(); }
    const PlaybackFailure& failure() const { return *failure_; } // only when not played

private:
    std::optional<PlaybackFailure> failure_;
};

// Plays named wave files on the default sound output.
class SoundService {
public:
    virtual ~SoundService() = default;

    // Plays the wave file at `path` to its end, and returns once the last sample has been
    // played. Fails at once, having played nothing, when the file cannot be played whole or
    // the output cannot be opened, and while another sound of this process is still sounding
    // (which is neither cut off nor waited for). However the output behaves, returns within
    // the sound's length and a grace of a few seconds; a sound that overran is stopped.
    virtual PlaybackResult play(const NativeString& path) = 0;
};

// The sound service of the platform this program was built for. Where the desktop's sound
// settings list streams by program, the program's streams carry its display name and icon,
// and no role, so that a user who moves them to another output once finds them there again.
// Call it before any other thread starts: it may set up the process's environment for the
// sound libraries.
std::unique_ptr<SoundService> createSoundService(const ProgramIdentity& identity);

} // namespace kt5::platform
