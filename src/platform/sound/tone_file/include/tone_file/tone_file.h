#pragma once

#include "platform/native_string.h"
#include "platform/playback_result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kt5::platform {

// What a tone file may be, at most: a few keys last seconds, so anything near these limits
// is something else under a tone's name, and is refused at once rather than read or played
// for hours.
inline constexpr std::size_t kLargestToneFileBytes = std::size_t{128} << 20;
inline constexpr int kLongestToneFileSeconds = 600;

// The fields of a RIFF/WAVE file's `fmt ` chunk that say how its sound is laid out.
struct WaveFormat {
    std::uint16_t formatTag = 0; // the codec: 1 PCM, 3 float, 0xFFFE extensible, ...
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t bytesPerSecond = 0;
};

// Where a RIFF/WAVE file's sound lies in it.
struct WaveLayout {
    WaveFormat format;
    std::size_t dataOffset = 0;
    std::size_t dataBytes = 0;

    double seconds() const { return double(dataBytes) / format.bytesPerSecond; }
};

// Checks that `file` is a RIFF/WAVE file whose sound can be played whole: the chunks in order,
// each with its pad byte, a plausible `fmt ` before the `data`, and the data lying wholly
// inside the file (or running to its end, where a streaming writer never filled its length
// in), no longer than a tone file can be. Decides nothing about the codec: a codec the
// platform cannot play is its sound service's to refuse. Both platforms' sound services check
// every file this way before any sound, so the same file is refused for the same reason.
Outcome<WaveLayout> checkToneFile(std::span<const std::byte> file);

struct ToneFile {
    std::vector<std::byte> bytes;
    WaveLayout layout;
};

// Reads the regular file at `path` whole, within the limits above, and checks it.
Outcome<ToneFile> readToneFile(const NativeString& path);

} // namespace kt5::platform
