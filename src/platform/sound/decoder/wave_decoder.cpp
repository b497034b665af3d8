#include "decoder/wave_decoder.h"

#include "sndfile_library.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace kt5::platform::decoder {

namespace {

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

// libsndfile's own reading of the header, which the checks before it did not make: another
// container it recognised inside, or no frames for its codec.
std::optional<PlaybackFailure> implausible(const SF_INFO& info)
{
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX)
        return PlaybackFailure{PlaybackError::NotRiffWave};
    if (info.channels < 1)
        return PlaybackFailure{PlaybackError::CodecError,
                               std::to_string(info.channels) + " channels"};
    if (info.frames <= 0)
        return PlaybackFailure{PlaybackError::NotRiffWave, "no audio in the file"};
    const auto maxFrames = sf_count_t(kMaxDecodedBytes / sizeof(std::int16_t) / info.channels);
    if (info.frames > maxFrames)
        return PlaybackFailure{PlaybackError::TooLarge, std::to_string(info.frames) + " frames"};
    return std::nullopt;
}

// Reads through libsndfile's float path, full scale at 1.0, for every codec: its direct
// float-to-short conversion does not scale, so a float file read that way would come out
// nearly silent. Samples beyond full scale are clipped rather than wrapped. The output grows
// with what actually decodes, not with what the header claims.
std::optional<PlaybackFailure> readAllAsInt16(const SndfileApi& sf, SNDFILE* file, int channels,
                                              std::vector<std::int16_t>& out)
{
    constexpr sf_count_t kChunkFrames = 4096;
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
    sf_count_t got = 0;
    while ((got = sf.readf_float(file, chunk.data(), kChunkFrames)) > 0) {
        const auto values = static_cast<std::size_t>(got) * channels;
        for (std::size_t i = 0; i < values; ++i) {
            if (std::isnan(chunk[i]))
                return PlaybackFailure{PlaybackError::CodecError, "a sample is not a number"};
            const float scaled = std::nearbyint(chunk[i] * 32768.0f);
            out.push_back(static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f)));
        }
    }
    // Block codecs may announce a few frames more than their last block holds, so a short
    // count is fine as long as the decoder reported no error.
    if (sf.error(file) != SF_ERR_NO_ERROR)
        return PlaybackFailure{PlaybackError::CodecError, sf.strerror(file)};
    if (out.empty())
        return PlaybackFailure{PlaybackError::NotRiffWave, "no audio in the file"};
    return std::nullopt;
}

} // namespace

Outcome<DecodedSound> decodeWave(const ToneFile& file)
{
    const BoundSndfile& bound = sndfileLibrary();
    if (bound.api == nullptr)
        return PlaybackFailure{PlaybackError::LibraryMissing, bound.error};
    const SndfileApi& sf = *bound.api;

    SF_VIRTUAL_IO io{&MemoryReader::length, &MemoryReader::seek, &MemoryReader::read,
                     &MemoryReader::write, &MemoryReader::tell};
    MemoryReader reader{file.bytes};
    SF_INFO info{};
    const SndfileHandle sndfile(sf.open_virtual(&io, SFM_READ, &info, &reader), {&sf});
    if (!sndfile)
        return PlaybackFailure{PlaybackError::CodecError, sf.strerror(nullptr)};
    if (auto why = implausible(info))
        return *why;

    DecodedSound sound;
    sound.sampleRate = info.samplerate;
    sound.channels = info.channels;
    if (auto why = readAllAsInt16(sf, sndfile.get(), info.channels, sound.samples))
        return *why;
    return sound;
}

} // namespace kt5::platform::decoder
