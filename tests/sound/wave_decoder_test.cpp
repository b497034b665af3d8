#include "platform/alsa/wave_decoder.h"
#include "support/param_name.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace kt5::test {
namespace {

using platform::alsa::DecodedSound;
using platform::alsa::decodeWave;

std::optional<DecodedSound> decodeBytes(const std::string& bytes)
{
    return decodeWave(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

// Signal-to-noise ratio of `decoded` against `source`, in dB.
double snrDb(const std::vector<std::int16_t>& source, const std::vector<std::int16_t>& decoded)
{
    double signal = 0;
    double noise = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        signal += double(source[i]) * source[i];
        const double error = double(decoded[i]) - source[i];
        noise += error * error;
    }
    return noise == 0 ? INFINITY : 10 * std::log10(signal / noise);
}

struct CodecCase {
    std::string name;
    int format;
    int sampleRate;
    int channels;
    double minSnrDb; // INFINITY: lossless, every sample exact
};

class EveryWaveCodec : public testing::TestWithParam<CodecCase> {};

// Users' tone files may use any codec a WAV file can hold; each must come back as the signal
// that was written, at its level, within what the codec itself loses.
TEST_P(EveryWaveCodec, DecodesToTheSignalThatWasWritten)
{
    const auto& c = GetParam();
    TempDir dir;
    const auto path = dir / "03.wav";
    const Audio source = sine(697, 0.3, c.sampleRate, c.channels);
    writeSound(path, source, c.format);

    const auto decoded = decodeBytes(readBytes(path));

    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->sampleRate, c.sampleRate);
    EXPECT_EQ(decoded->channels, c.channels);
    // Block codecs may pad the last block; never may audio go missing.
    ASSERT_GE(decoded->samples.size(), source.samples.size());
    ASSERT_LE(decoded->samples.size(), source.samples.size() + 2048u * c.channels);
    const double snr = snrDb(source.samples, decoded->samples);
    if (std::isinf(c.minSnrDb))
        EXPECT_TRUE(std::isinf(snr)) << "lossless codec changed samples, SNR " << snr << " dB";
    else
        EXPECT_GE(snr, c.minSnrDb);
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, EveryWaveCodec,
    testing::Values(
        CodecCase{"Pcm8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1, 35},
        CodecCase{"Pcm16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, INFINITY},
        CodecCase{"Pcm16Stereo44k", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, INFINITY},
        CodecCase{"Pcm24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 2, INFINITY},
        CodecCase{"Pcm32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 22050, 1, INFINITY},
        CodecCase{"Float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 16000, 1, INFINITY},
        CodecCase{"Double", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 16000, 2, INFINITY},
        CodecCase{"MuLaw", SF_FORMAT_WAV | SF_FORMAT_ULAW, 8000, 1, 30},
        CodecCase{"ALaw", SF_FORMAT_WAV | SF_FORMAT_ALAW, 8000, 1, 30},
        CodecCase{"ImaAdpcm", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 8000, 1, 15},
        CodecCase{"MsAdpcm", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 11025, 2, 15},
        CodecCase{"Gsm610", SF_FORMAT_WAV | SF_FORMAT_GSM610, 8000, 1, 5},
        CodecCase{"ExtensiblePcm16", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 8000, 1, INFINITY},
        CodecCase{"ExtensibleFloat", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, 48000, 2, INFINITY}),
    ByName{});

TEST(WaveDecoder, Pcm16IsDecodedBitExact)
{
    TempDir dir;
    const Audio source = sine(1336, 0.2, 8000, 1);
    writeSound(dir / "a.wav", source, SF_FORMAT_WAV | SF_FORMAT_PCM_16);

    const auto decoded = decodeBytes(readBytes(dir / "a.wav"));

    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->samples, source.samples);
}

TEST(WaveDecoder, FloatBeyondFullScaleClipsInsteadOfWrapping)
{
    TempDir dir;
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    {
        std::unique_ptr<SNDFILE, decltype(&sf_close)> file(
            sf_open((dir / "loud.wav").c_str(), SFM_WRITE, &info), &sf_close);
        const float samples[] = {1.5f, -1.5f, 0.5f};
        ASSERT_EQ(sf_write_float(file.get(), samples, 3), 3);
    }

    const auto decoded = decodeBytes(readBytes(dir / "loud.wav"));

    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->samples.size(), 3u);
    EXPECT_EQ(decoded->samples[0], 32767);
    EXPECT_EQ(decoded->samples[1], -32768);
}

TEST(WaveDecoder, FloatSampleThatIsNotANumberRefusesTheFile)
{
    TempDir dir;
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    {
        std::unique_ptr<SNDFILE, decltype(&sf_close)> file(
            sf_open((dir / "nan.wav").c_str(), SFM_WRITE, &info), &sf_close);
        const float samples[] = {0.25f, NAN, 0.25f};
        ASSERT_EQ(sf_write_float(file.get(), samples, 3), 3);
    }

    EXPECT_FALSE(decodeBytes(readBytes(dir / "nan.wav")).has_value());
}

// Offset of the size field of the data chunk in a canonical 44-byte-header PCM file.
constexpr std::size_t kDataSizeOffset = 40;

std::string canonicalPcm16(const TempDir& dir)
{
    writeSound(dir / "c.wav", sine(941, 0.1, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::string bytes = readBytes(dir / "c.wav");
    EXPECT_EQ(bytes.substr(36, 4), "data");
    return bytes;
}

void setDataSize(std::string& bytes, std::uint32_t size)
{
    for (int i = 0; i < 4; ++i)
        bytes[kDataSizeOffset + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
}

TEST(WaveDecoder, DataChunkCutShortIsRefusedNotHalfPlayed)
{
    TempDir dir;
    std::string bytes = canonicalPcm16(dir);
    bytes.resize(bytes.size() - 200);

    EXPECT_FALSE(decodeBytes(bytes).has_value());
}

TEST(WaveDecoder, LengthAStreamingWriterLeftUnsetStillPlays)
{
    TempDir dir;
    std::string bytes = canonicalPcm16(dir);
    setDataSize(bytes, 0xFFFFFFFFu);

    const auto decoded = decodeBytes(bytes);

    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->frames(), 800u);
}

TEST(WaveDecoder, ChunksBeforeTheDataAreSkippedWithTheirPadByte)
{
    TempDir dir;
    std::string bytes = canonicalPcm16(dir);
    // An odd-sized LIST chunk between "fmt " and "data" is followed by one pad byte.
    const std::string list = std::string("LIST\x03\x00\x00\x00", 8) + "abc" + '\0';
    bytes.insert(36, list);

    const auto decoded = decodeBytes(bytes);

    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->frames(), 800u);
}

TEST(WaveDecoder, RefusesDecodedAudioBeyondTheCeilingBeforeAllocating)
{
    // An 8-bit file whose samples, as 16-bit, would pass the ceiling; all zeros, so cheap.
    const std::uint32_t dataBytes = platform::alsa::kMaxDecodedBytes / 2 + 16;
    std::string bytes(44 + dataBytes, '\0');
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    std::memcpy(bytes.data(), "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(bytes.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put32(20, 1 | (1u << 16)); // PCM, mono
    put32(24, 8000);
    put32(28, 8000);
    put32(32, 1 | (8u << 16)); // block align 1, 8 bits
    std::memcpy(bytes.data() + 36, "data", 4);
    put32(40, dataBytes);

    EXPECT_FALSE(decodeBytes(bytes).has_value());
    // The same header with a small payload is fine, so it is the size that was refused.
    put32(40, 800);
    bytes.resize(44 + 800);
    EXPECT_TRUE(decodeBytes(bytes).has_value());
}

} // namespace
} // namespace kt5::test
