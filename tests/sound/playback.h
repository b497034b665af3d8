#pragma once

// What the sound tests share: the sound service as the program makes it, its results as a
// failing test shows them, and wave files written byte by byte; on both platforms.
#include "platform/sound_service.h"
#include "product/product.h"
#include "testing/files.h"

#include <cstdint>
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
    return result ? std::nullopt : std::optional(result.failure().error);
}

// "played", or why not in the service's and the library's words.
inline std::string outcome(const platform::PlaybackResult& result)
{
    return result ? "played"
                  : std::string(describe(result.failure().error)) + " (" + result.failure().detail +
                        ")";
}

// `seconds` of silence as 16-bit PCM at 8 kHz, and what its header says of it.
struct WaveHeader {
    std::uint32_t claimedBytes = 0;
    std::uint32_t bytesPerSecond = 16000;
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;   // as the header says
    std::uint32_t factFrames = 0; // a fact chunk's count, where there is one
};

inline std::string waveFile(double seconds, WaveHeader header = {})
{
    const auto bytes = static_cast<std::uint32_t>(seconds * 16000);
    const auto le = [](std::uint32_t value, int size) {
        std::string out;
        for (int i = 0; i < size; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    const std::uint32_t claimed = header.claimedBytes != 0 ? header.claimedBytes : bytes;
    return "RIFF" + le(36 + claimed, 4) + "WAVEfmt " + le(16, 4) + le(header.formatTag, 2) +
           le(header.channels, 2) + le(8000, 4) + le(header.bytesPerSecond, 4) + le(2, 2) +
           le(16, 2) +
           (header.factFrames != 0 ? "fact" + le(4, 4) + le(header.factFrames, 4) : "") + "data" +
           le(claimed, 4) + std::string(bytes, '\0');
}

} // namespace kt5::test
