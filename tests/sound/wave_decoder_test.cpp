#include "platform/alsa/wave_decoder.h"
#include "support/param_name.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace kt5::test {
namespace {

using platform::alsa::DecodedSound;
using platform::alsa::decodeWave;

platform::alsa::Outcome<DecodedSound> decodeBytes(const std::string& bytes)
{
    return decodeWave(std::as_bytes(std::span(bytes.data(), bytes.size())),
                      *platform::alsa::bindAudioLibraries().sndfile.api);
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

    ASSERT_TRUE(decoded);
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

// Files that are unusual but whole, and must play as written.
struct OddFile {
    std::string name;
    std::function<std::string(std::string canonical)> make; // from a canonical PCM file
    std::vector<std::int16_t> firstSamples;                 // empty: those of the source
};

void put32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string floatFile(const TempDir& dir, std::vector<float> samples)
{
    SF_INFO info{.frames = 0,
                 .samplerate = 8000,
                 .channels = 1,
                 .format = SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                 .sections = 0,
                 .seekable = 0};
    {
        std::unique_ptr<SNDFILE, decltype(&sf_close)> file(
            sf_open((dir / "f.wav").c_str(), SFM_WRITE, &info), &sf_close);
        sf_write_float(file.get(), samples.data(), static_cast<sf_count_t>(samples.size()));
    }
    return readBytes(dir / "f.wav");
}

class AcceptedFile : public testing::TestWithParam<OddFile> {};

TEST_P(AcceptedFile, DecodesWhole)
{
    TempDir dir;
    const Audio source = sine(941, 0.1, 8000, 1);
    writeSound(dir / "c.wav", source, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const std::string canonical = readBytes(dir / "c.wav");
    ASSERT_EQ(canonical.substr(36, 4), "data");

    auto decoded = decodeBytes(GetParam().make(canonical));

    ASSERT_TRUE(decoded) << platform::describe(decoded.failure().error);
    const auto& expected =
        GetParam().firstSamples.empty() ? source.samples : GetParam().firstSamples;
    ASSERT_GE(decoded->samples.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoded->samples.begin()));
}

INSTANTIATE_TEST_SUITE_P(Files, AcceptedFile,
                         testing::Values(
                             // A streaming writer that never went back to fill in the data length.
                             OddFile{"DataLengthLeftUnset",
                                     [](std::string c) {
                                         put32(c, 40, 0xFFFFFFFFu);
                                         return c;
                                     },
                                     {}},
                             // An odd-sized chunk before the data is followed by one pad byte.
                             OddFile{"OddChunkWithPadByteBeforeTheData",
                                     [](std::string c) {
                                         return c.insert(36,
                                                         std::string("LIST\x03\x00\x00\x00", 8) +
                                                             "abc" + '\0');
                                     },
                                     {}},
                             OddFile{"FloatBeyondFullScaleClipsInsteadOfWrapping",
                                     [](std::string) {
                                         TempDir dir;
                                         return floatFile(dir, {1.5f, -1.5f, 0.5f});
                                     },
                                     {32767, -32768, 16384}}),
                         ByName{});

} // namespace
} // namespace kt5::test
