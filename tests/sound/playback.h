#pragma once

// What the sound tests share: the sound service as the program makes it, and its results as
// a failing test shows them.
#include "platform/sound_service.h"
#include "product/product.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace kt5::platform {
inline void PrintTo(PlaybackError error, std::ostream* out) // failures name the reason
{
    *out << describe(error);
}
} // namespace kt5::platform

namespace kt5::test {

inline std::unique_ptr<platform::SoundService> newService()
{
    return platform::createSoundService({product::kDisplayName, product::kDesktopId});
}

// Why a sound was not played; nothing when it was.
inline std::optional<platform::PlaybackError> failureOf(const platform::PlaybackResult& result)
{
    return result.played() ? std::nullopt : std::optional(result.failure().error);
}

// "played", or why not in the service's and the library's words.
inline std::string outcome(const platform::PlaybackResult& result)
{
    return result.played() ? "played"
                           : std::string(describe(result.failure().error)) + " (" +
                                 result.failure().detail + ")";
}

} // namespace kt5::test
