#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

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
    TimedOut,     // the output did not end the sound in time
    NotAnswering, // the output has not returned from a sound given up on
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
    case PlaybackError::NotAnswering:
        return "sound output has not answered since the last sound";
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

struct Played {}; // what playing a sound makes

// The result of one step of a play: its value, or why the sound cannot be played.
// PlaybackResult is the result of a whole play.
template <class T = Played>
class Outcome {
public:
    Outcome() requires std::same_as<T, Played>
    = default;
    Outcome(T value)
        : state_(std::move(value))
    {
    }
    Outcome(PlaybackFailure failure)
        : state_(std::move(failure))
    {
    }

    explicit operator bool() const { return std::holds_alternative<T>(state_); }
    T& operator*() { return std::get<T>(state_); }
    const T& operator*() const { return std::get<T>(state_); }
    const T* operator->() const { return &std::get<T>(state_); }
    const PlaybackFailure& failure() const { return std::get<PlaybackFailure>(state_); }

private:
    std::variant<T, PlaybackFailure> state_;
};

using PlaybackResult = Outcome<>; // played, or why not

} // namespace kt5::platform
