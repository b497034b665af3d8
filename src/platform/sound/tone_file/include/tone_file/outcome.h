#pragma once

#include "platform/sound_service.h"

#include <utility>
#include <variant>

namespace kt5::platform {

// What one step towards a sound made, or why the sound cannot be played.
template <class T>
class Outcome {
public:
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

} // namespace kt5::platform
