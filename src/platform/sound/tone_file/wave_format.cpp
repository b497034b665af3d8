#include "wave_format.h"

#include <algorithm>
#include <string>

namespace kt5::platform {

namespace {

// The sound of a tone is a few channels at an audible rate; anything else is a misread
// header, not a format to try.
constexpr int kMostChannels = 8;
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 768'000;
constexpr std::uint16_t kMostBitsPerSample = 64;

constexpr std::size_t kPlainFormatBytes = 16; // up to the bits per sample
constexpr std::size_t kExtensionAt = 18;      // after the extension's own size
constexpr std::size_t kExtensibleFormatBytes = 40;
constexpr std::size_t kSubFormatAt = 24; // its first two bytes are the codec's tag

constexpr std::uint16_t kPcm = 0x0001;
constexpr std::uint16_t kMsAdpcm = 0x0002;
constexpr std::uint16_t kFloat = 0x0003;
constexpr std::uint16_t kALaw = 0x0006;
constexpr std::uint16_t kMuLaw = 0x0007;
constexpr std::uint16_t kImaAdpcm = 0x0011;
constexpr std::uint16_t kGsm610 = 0x0031;
constexpr std::uint16_t kExtensible = 0xFFFE;

// Codecs whose format extension begins with the frames a block holds.
bool hasSamplesPerBlock(std::uint16_t codec)
{
    return codec == kMsAdpcm || codec == kImaAdpcm || codec == kGsm610;
}

PlaybackFailure notATone(std::string why)
{
    return {PlaybackError::CodecError, std::move(why)};
}

} // namespace

std::uint32_t readLe(std::span<const std::byte> bytes, std::size_t at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::to_integer<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

std::optional<std::uint32_t> WaveFormat::frameBytes() const
{
    if (codec != kPcm && codec != kFloat && codec != kALaw && codec != kMuLaw)
        return std::nullopt;
    // What the block alignment is by definition: readers go by it, not by the field, which
    // some writers fill in wrong.
    return channels * ((bitsPerSample + 7u) / 8u);
}

Outcome<WaveFormat> readWaveFormat(std::span<const std::byte> body)
{
    if (body.size() < kPlainFormatBytes)
        return PlaybackFailure{PlaybackError::NotRiffWave, "a format chunk too short"};
    WaveFormat f;
    f.formatTag = static_cast<std::uint16_t>(readLe(body, 0, 2));
    f.codec = f.formatTag;
    f.channels = static_cast<std::uint16_t>(readLe(body, 2, 2));
    f.sampleRate = readLe(body, 4, 4);
    f.bytesPerSecond = readLe(body, 8, 4);
    f.blockAlign = static_cast<std::uint16_t>(readLe(body, 12, 2));
    f.bitsPerSample = static_cast<std::uint16_t>(readLe(body, 14, 2));
    if (f.formatTag == kExtensible) {
        if (body.size() < kExtensibleFormatBytes)
            return notATone("an extensible format without its sub-format");
        f.codec = static_cast<std::uint16_t>(readLe(body, kSubFormatAt, 2));
    }
    if (hasSamplesPerBlock(f.codec) && body.size() >= kExtensionAt + 2)
        f.samplesPerBlock = static_cast<std::uint16_t>(readLe(body, kExtensionAt, 2));

    if (f.channels < 1 || f.channels > kMostChannels)
        return notATone(std::to_string(f.channels) + " channels");
    if (f.sampleRate < kLowestRate || f.sampleRate > kHighestRate)
        return notATone(std::to_string(f.sampleRate) + " Hz");
    if (f.frameBytes() && (f.bitsPerSample < 1 || f.bitsPerSample > kMostBitsPerSample))
        return notATone(std::to_string(f.bitsPerSample) + " bits a sample");
    // A codec known by nothing but its byte rate has no length without one.
    if (!f.frameBytes() && f.samplesPerBlock == 0 && f.bytesPerSecond == 0)
        return notATone("no byte rate in the format");
    return f;
}

std::uint64_t framesOf(const WaveFormat& format, std::size_t dataBytes,
                       std::optional<std::uint32_t> factFrames)
{
    if (const auto frameBytes = format.frameBytes())
        return dataBytes / *frameBytes;
    std::uint64_t frames = factFrames.value_or(0); // a count never filled in is none
    if (format.samplesPerBlock != 0 && format.blockAlign != 0) {
        // The last block may be cut short; a decoder still yields it whole. A `fact` count
        // short of what the blocks hold does not shorten what plays.
        const std::uint64_t blocks = (dataBytes + format.blockAlign - 1) / format.blockAlign;
        frames = std::max(frames, blocks * format.samplesPerBlock);
    }
    if (frames == 0 && format.bytesPerSecond != 0)
        frames = std::uint64_t{dataBytes} * format.sampleRate / format.bytesPerSecond;
    return frames;
}

std::optional<double> secondsByAWrongByteRate(const WaveFormat& format, std::size_t dataBytes)
{
    const auto frameBytes = format.frameBytes();
    if (!frameBytes || format.bytesPerSecond == 0 ||
        format.bytesPerSecond == std::uint64_t{format.sampleRate} * *frameBytes)
        return std::nullopt;
    return double(dataBytes) / format.bytesPerSecond;
}

} // namespace kt5::platform
