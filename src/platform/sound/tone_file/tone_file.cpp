#include "tone_file/tone_file.h"

#include "os/regular_file.h"
#include "wave_format.h"

#include <cmath>
#include <cstring>
#include <string>

namespace kt5::platform {

namespace {

// A streaming writer that never went back leaves the data length at this.
constexpr std::uint32_t kLengthNeverFilledIn = 0xFFFFFFFFu;
constexpr std::size_t kFactFramesBytes = sizeof(std::uint32_t); // its frame count

bool hasTag(std::span<const std::byte> bytes, std::size_t at, const char (&tag)[5])
{
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::string secondsText(double seconds)
{
    return std::to_string(std::llround(seconds)) + " s";
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

// The sound's length once its data is found: its frames, and the refusal of one too long,
// which says so where the header's byte rate claimed otherwise.
Outcome<WaveLayout> measured(WaveLayout layout, std::optional<std::uint32_t> factFrames)
{
    layout.frames = framesOf(layout.format, layout.dataBytes, factFrames);
    if (layout.dataBytes == 0 || layout.frames == 0)
        return PlaybackFailure{PlaybackError::NotRiffWave, "no audio in the file"};
    if (auto tooLong = longerThanATone(layout.frames, layout.format.sampleRate)) {
        if (const auto claimed = secondsByAWrongByteRate(layout.format, layout.dataBytes))
            tooLong->detail += "; its header's byte rate says " + secondsText(*claimed);
        return *tooLong;
    }
    return layout;
}

} // namespace

std::optional<PlaybackFailure> longerThanATone(std::uint64_t frames, std::uint32_t rate)
{
    if (frames <= std::uint64_t{kLongestToneFileSeconds} * rate)
        return std::nullopt;
    return PlaybackFailure{PlaybackError::TooLarge,
                           "it lasts " + secondsText(double(frames) / rate) + ", over the " +
                               std::to_string(kLongestToneFileSeconds) + " s a tone may last"};
}

Outcome<WaveLayout> checkToneFile(std::span<const std::byte> file)
{
    if (!hasTag(file, 0, "RIFF") || !hasTag(file, 8, "WAVE"))
        return PlaybackFailure{PlaybackError::NotRiffWave};
    std::optional<WaveLayout> layout;
    std::optional<std::uint32_t> factFrames;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::uint32_t size = readLe(file, at + 4, 4);
        const std::size_t body = at + 8;
        const std::size_t available = file.size() - body;
        if (hasTag(file, at, "data")) {
            if (!layout)
                return PlaybackFailure{PlaybackError::NotRiffWave, "no format before the sound"};
            const std::size_t bytes = size == kLengthNeverFilledIn ? available : size;
            if (bytes > available)
                return PlaybackFailure{PlaybackError::DataCutShort,
                                       "the sound claims " + std::to_string(size) +
                                           " bytes, the file holds " + std::to_string(available)};
            layout->dataOffset = body;
            layout->dataBytes = bytes;
            return measured(*layout, factFrames);
        }
        if (size > available)
            return PlaybackFailure{PlaybackError::DataCutShort};
        if (hasTag(file, at, "fmt ")) {
            auto format = readWaveFormat(file.subspan(body, size));
            if (!format)
                return format.failure();
            layout = WaveLayout{*format, body, size};
        } else if (hasTag(file, at, "fact") && size >= kFactFramesBytes) {
            factFrames = readLe(file, body, kFactFramesBytes);
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
