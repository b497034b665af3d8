#include "platform/alsa/wave_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace kt5::platform::alsa {

namespace {

constexpr int kMaxChannels = 8;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;

std::uint32_t readLe32(std::span<const std::byte> bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::to_integer<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

bool hasTag(std::span<const std::byte> bytes, std::size_t at, const char (&tag)[5])
{
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

// Accepts only RIFF/WAVE whose data chunk lies wholly inside the file. libsndfile would
// also open AIFF, FLAC and more by their content, and would quietly play the part of a
// truncated file that is there; a tone cut off mid-sequence must not be played.
PlaybackError checkRiffWave(std::span<const std::byte> file)
{
    if (!hasTag(file, 0, "RIFF") || !hasTag(file, 8, "WAVE"))
        return PlaybackError::NotRiffWave;
    std::size_t at = 12;
    while (at + 8 <= file.size()) {
        const std::uint32_t size = readLe32(file, at + 4);
        const std::size_t available = file.size() - (at + 8);
        // 0xFFFFFFFF marks a length a streaming writer never filled in.
        if (hasTag(file, at, "data"))
            return size == 0xFFFFFFFFu || size <= available ? PlaybackError::None
                                                            : PlaybackError::DataCutShort;
        if (size > available)
            return PlaybackError::DataCutShort;
        at += 8 + std::size_t{size} + (size & 1u);
    }
    return PlaybackError::DataCutShort;
}

// libsndfile reads from the bytes already in memory.
struct MemoryReader {
    std::span<const std::byte> bytes;
    sf_count_t position = 0;

    static sf_count_t length(void* self) { return sf_count_t(as(self).bytes.size()); }
    static sf_count_t seek(sf_count_t offset, int whence, void* self)
    {
        auto& r = as(self);
        const sf_count_t base = whence == SEEK_CUR   ? r.position
                                : whence == SEEK_END ? sf_count_t(r.bytes.size())
                                                     : 0;
        r.position = std::clamp<sf_count_t>(base + offset, 0, sf_count_t(r.bytes.size()));
        return r.position;
    }
    static sf_count_t read(void* out, sf_count_t count, void* self)
    {
        auto& r = as(self);
        const sf_count_t n =
            std::clamp<sf_count_t>(count, 0, sf_count_t(r.bytes.size()) - r.position);
        std::memcpy(out, r.bytes.data() + r.position, static_cast<std::size_t>(n));
        r.position += n;
        return n;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* self) { return as(self).position; }

    static MemoryReader& as(void* self) { return *static_cast<MemoryReader*>(self); }
};

struct SndfileCloser {
    const SndfileApi* sf;
    void operator()(SNDFILE* file) const { sf->close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

PlaybackResult checkPlausible(const SF_INFO& info)
{
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX)
        return failure(PlaybackError::NotRiffWave);
    if (info.channels < 1 || info.channels > kMaxChannels)
        return failure(PlaybackError::CodecError, std::to_string(info.channels) + " channels");
    if (info.samplerate < kMinSampleRate || info.samplerate > kMaxSampleRate)
        return failure(PlaybackError::CodecError, std::to_string(info.samplerate) + " Hz");
    if (info.frames <= 0)
        return failure(PlaybackError::NotRiffWave, "no audio in the file");
    const auto maxFrames = sf_count_t(kMaxDecodedBytes / sizeof(std::int16_t) / info.channels);
    if (info.frames > maxFrames)
        return failure(PlaybackError::TooLarge, std::to_string(info.frames) + " frames");
    return {};
}

// Reads through libsndfile's float path, full scale at 1.0, for every codec: its direct
// float-to-short conversion does not scale, so a float file read that way would come out
// nearly silent. Samples beyond full scale are clipped rather than wrapped. The output grows
// with what actually decodes, not with what the header claims.
PlaybackResult readAllAsInt16(const SndfileApi& sf, SNDFILE* file, int channels,
                              std::vector<std::int16_t>& out)
{
    constexpr sf_count_t kChunkFrames = 4096;
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
    sf_count_t got = 0;
    while ((got = sf.readf_float(file, chunk.data(), kChunkFrames)) > 0) {
        const auto values = static_cast<std::size_t>(got) * channels;
        for (std::size_t i = 0; i < values; ++i) {
            if (std::isnan(chunk[i]))
                return failure(PlaybackError::CodecError, "a sample is not a number");
            const float scaled = std::nearbyint(chunk[i] * 32768.0f);
            out.push_back(static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f)));
        }
    }
    // Block codecs may announce a few frames more than their last block holds, so a short
    // count is fine as long as the decoder reported no error.
    if (sf.error(file) != SF_ERR_NO_ERROR)
        return failure(PlaybackError::CodecError, sf.strerror(file));
    if (out.empty())
        return failure(PlaybackError::NotRiffWave, "no audio in the file");
    return {};
}

} // namespace

Outcome<DecodedSound> decodeWave(std::span<const std::byte> file, const SndfileApi& sf)
{
    if (const PlaybackError error = checkRiffWave(file); error != PlaybackError::None)
        return failure(error);

    SF_VIRTUAL_IO io{&MemoryReader::length, &MemoryReader::seek, &MemoryReader::read,
                     &MemoryReader::write, &MemoryReader::tell};
    MemoryReader reader{file};
    SF_INFO info{};
    const SndfileHandle sndfile(sf.open_virtual(&io, SFM_READ, &info, &reader), {&sf});
    if (!sndfile)
        return failure(PlaybackError::CodecError, sf.strerror(nullptr));
    if (PlaybackResult plausible = checkPlausible(info); plausible.error != PlaybackError::None)
        return plausible;

    DecodedSound sound;
    sound.sampleRate = info.samplerate;
    sound.channels = info.channels;
    if (PlaybackResult read = readAllAsInt16(sf, sndfile.get(), info.channels, sound.samples);
        read.error != PlaybackError::None)
        return read;
    return sound;
}

} // namespace kt5::platform::alsa
