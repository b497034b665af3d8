#pragma once

#include "platform/native_string.h"
#include "platform/playback_result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
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
    std::uint16_t formatTag{}; // as written: 1 PCM, 3 float, 0xFFFE extensible, ...
    std::uint16_t codec{};     // what the samples are: the tag, or an extensible format's own
    std::uint16_t channels{};
    std::uint32_t sampleRate{};
    std::uint32_t bytesPerSecond{}; // what the writer claimed; see WaveLayout::frames
    std::uint16_t blockAlign{};
    std::uint16_t bitsPerSample{};
    std::uint16_t samplesPerBlock{}; // a block codec's (ADPCM, GSM), from the extension

    // The bytes of one frame of a codec whose frames all have one size (PCM, float, A-law,
    // µ-law): its channels' samples side by side; nothing for a codec of blocks.
    std::optional<std::uint32_t> frameBytes() const;
};

// Where a RIFF/WAVE file's sound lies in it, and how long it lasts.
struct WaveLayout {
    WaveFormat format;
    std::size_t formatOffset{}; // the `fmt ` chunk's body, as the file has it
    std::size_t formatBytes{};
    std::size_t dataOffset{};
    std::size_t dataBytes{};
    // The sound's length: the frames its data holds where each frame has one size; for a
    // codec of blocks, the frame count of its `fact` chunk, or what its blocks hold where
    // that is more or there is no `fact`. Never the header's byte rate, which sloppy writers
    // get wrong, where the format says more; only for a codec known by nothing else.
    std::uint64_t frames{};

    double seconds() const { return double(frames) / format.sampleRate; }
};

// A sound of `frames` at `rate` that lasts longer than any tone file: refused, naming its
// length. Every check of a tone's length, the dialer's and the tone tool's, is this one.
std::optional<PlaybackFailure> longerThanATone(std::uint64_t frames, std::uint32_t rate);

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
