#include "tone_file/tone_file.h"

#include "os/regular_file.h"

#include <cstring>
#include <optional>
#include <string>

namespace kt5::platform {

namespace {

// The sound of a tone is a few channels at an audible rate; anything else is a misread
// header, not a format to try.
constexpr int kMostChannels = 8;
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 768'000;
constexpr std::size_t kFmtFieldsBytes = 16;
// A streaming writer that never went back leaves the data length at this.
constexpr std::uint32_t kLengthNeverFilledIn = 0xFFFFFFFFu;

std::uint32_t readLe(std::span<const std::byte> bytes, std::size_t at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::to_integer<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

bool hasTag(std::span<const std::byte> bytes, std::size_t at, const char (&tag)[5])
{
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::optional<PlaybackFailure> implausible(const WaveFormat& f)
{
    if (f.channels < 1 || f.channels > kMostChannels)
        return PlaybackFailure{PlaybackError::CodecError, std::to_string(f.channels) + " channels"};
    if (f.sampleRate < kLowestRate || f.sampleRate > kHighestRate)
        return PlaybackFailure{PlaybackError::CodecError, std::to_string(f.sampleRate) + " Hz"};
    if (f.bytesPerSecond == 0)
        return PlaybackFailure{PlaybackError::CodecError, "no byte rate in the format"};
    return std::nullopt;
}

PlaybackError fromFileProblem(os::FileProblem problem)
{
    switch (problem) {
    case os::FileProblem::Missing:
        return PlaybackError::FileMissing;
    case os::FileProblem::NotRegular:
        return PlaybackError::NotRegularFile;
    case os::FileProblem::Empty:
        return PlaybackError::Empty;
    case os::FileProblem::TooLarge:
        return PlaybackError::TooLarge;
    case os::FileProblem::Shrank:
        return PlaybackError::DataCutShort;
    case os::FileProblem::Unreadable:
        break;
    }
    return PlaybackError::Unreadable;
}

} // namespace

Outcome<WaveLayout> checkToneFile(std::span<const std::byte> file)
{
    if (!hasTag(file, 0, "RIFF") || !hasTag(file, 8, "WAVE"))
        return PlaybackFailure{PlaybackError::NotRiffWave};
    std::optional<WaveFormat> format;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::uint32_t size = readLe(file, at + 4, 4);
        const std::size_t body = at + 8;
        const std::size_t available = file.size() - body;
        if (hasTag(file, at, "data")) {
            if (!format)
                return PlaybackFailure{PlaybackError::NotRiffWave, "no format before the sound"};
            const std::size_t bytes = size == kLengthNeverFilledIn ? available : size;
            if (bytes > available)
                return PlaybackFailure{PlaybackError::DataCutShort,
                                       "the sound claims " + std::to_string(size) +
                                           " bytes, the file holds " + std::to_string(available)};
            if (bytes == 0)
                return PlaybackFailure{PlaybackError::NotRiffWave, "no audio in the file"};
            const WaveLayout layout{*format, body, bytes};
            if (layout.seconds() > kLongestToneFileSeconds)
                return PlaybackFailure{PlaybackError::TooLarge,
                                       std::to_string(static_cast<long long>(layout.seconds())) +
                                           " s of sound"};
            return layout;
        }
        if (size > available)
            return PlaybackFailure{PlaybackError::DataCutShort};
        if (hasTag(file, at, "fmt ")) {
            if (size < kFmtFieldsBytes)
                return PlaybackFailure{PlaybackError::NotRiffWave, "a format chunk too short"};
            format = WaveFormat{static_cast<std::uint16_t>(readLe(file, body, 2)),
                                static_cast<std::uint16_t>(readLe(file, body + 2, 2)),
                                readLe(file, body + 4, 4), readLe(file, body + 8, 4)};
            if (auto why = implausible(*format))
                return *why;
        }
        at = body + std::size_t{size} + (size & 1u); // an odd chunk is followed by a pad byte
    }
    return PlaybackFailure{PlaybackError::DataCutShort, "the file ends before its sound"};
}

Outcome<ToneFile> readToneFile(const NativeString& path)
{
    os::FileContents contents = os::readRegularFile(path, kLargestToneFileBytes);
    if (contents.problem)
        return PlaybackFailure{fromFileProblem(*contents.problem), std::move(contents.detail)};
    auto layout = checkToneFile(contents.bytes);
    if (!layout)
        return layout.failure();
    return ToneFile{std::move(contents.bytes), *layout};
}

} // namespace kt5::platform
