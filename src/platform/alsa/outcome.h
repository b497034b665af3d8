#pragma once

#include "platform/sound_service.h"

#include <optional>
#include <string>
#include <utility>

namespace kt5::platform::alsa {

inline PlaybackResult failure(PlaybackError error, std::string detail = {})
{
    return {error, std::move(detail)};
}

// A step's product, or why the sound cannot be played.
template <class T>
class Outcome {
public:
    Outcome(T value)
        : value_(std::move(value))
    {
    }
    Outcome(PlaybackResult failure)
        : failure_(std::move(failure))
    {
    }

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const PlaybackResult& failure() const { return failure_; }

private:
    std::optional<T> value_;
    PlaybackResult failure_;
};

} // namespace kt5::platform::alsa
