// The decoder on each kind of wave file a tone set may come as: what sox, an independent
// decoder, hears, at the file's own rate and channels; or refused, as only Linux refuses it.
#include "decoder/wave_decoder.h"
#include "sound/playback.h"
#include "testing/files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace kt5::test {
namespace {

using platform::PlaybackError;
using platform::decoder::DecodedSound;

// Signal-to-noise ratio of `played` against `heard`, in dB; infinite when equal.
double snrDb(const std::vector<std::int16_t>& heard, const std::vector<std::int16_t>& played)
{
    double signal = 0;
    double noise = 0;
    for (std::size_t i = 0; i < heard.size() && i < played.size(); ++i) {
        signal += double(heard[i]) * heard[i];
        noise += (double(played[i]) - heard[i]) * (double(played[i]) - heard[i]);
    }
    return noise == 0 ? INFINITY : 10 * std::log10(signal / noise);
}

struct WaveFile {
    std::string name;
    std::string make;                     // makes F
    double minSnrDb;                      // kExact: every sample as sox decodes it
    std::optional<PlaybackError> refused; // or refused, with this reason
};

class EveryWaveFile : public testing::TestWithParam<WaveFile> {
protected:
    void make(const std::string& command)
    {
        ASSERT_EQ(std::system(("cd '" + tones.path().string() + "' && " + command).c_str()), 0)
            << command;
    }
    TempDir tones;
};

TEST_P(EveryWaveFile, DecodesToItsOwnSignalAtItsRateAndChannelsOrIsRefused)
{
    make(GetParam().make);
    // Checked and decoded, as the sound service does before any sound.
    const auto file = platform::readToneFile((tones / "F").native());
    const auto sound = file ? platform::decoder::decodeWave(*file)
                            : platform::Outcome<DecodedSound>(file.failure());
    if (GetParam().refused) {
        EXPECT_EQ(sound ? std::nullopt : std::optional(sound.failure().error), GetParam().refused);
        return;
    }
    ASSERT_TRUE(sound) << describe(sound.failure().error) << ": " << sound.failure().detail;
    make("sox -t wav F -e signed-integer -b 16 -t raw heard && soxi -r F >rate && soxi -c F >ch");
    const std::string bytes = readBytes(tones / "heard");
    std::vector<std::int16_t> heard(bytes.size() / 2);
    std::memcpy(heard.data(), bytes.data(), bytes.size());
    EXPECT_EQ(std::to_string(sound->sampleRate) + "\n", readBytes(tones / "rate"));
    EXPECT_EQ(std::to_string(sound->channels) + "\n", readBytes(tones / "ch"));
    // Block codecs may pad their last block; never may audio go missing.
    EXPECT_GE(sound->samples.size(), heard.size());
    EXPECT_LE(sound->samples.size(), heard.size() + 2048u * sound->channels);
    const double snr = snrDb(heard, sound->samples);
    EXPECT_TRUE(std::isinf(GetParam().minSnrDb) ? std::isinf(snr) : snr >= GetParam().minSnrDb)
        << "SNR " << snr << " dB";
}

// Sines; a stereo file's channels differ, so that swapped ones show.
const std::string kSine = "synth 0.3 sine 697 sine 1209";
constexpr double kExact = INFINITY;
INSTANTIATE_TEST_SUITE_P(
    Files, EveryWaveFile,
    testing::Values(
        // As a studio makes it: extensible, three bytes a sample, its byte rate past 1 MB/s.
        WaveFile{"Pcm24Stereo192k", "sox -n -r 192000 -c 2 -b 24 -t wav F " + kSine, 60, {}},
        // Samples 10 to 13 at +1.5 and -1.5: clipped as sox clips them, never wrapped round.
        WaveFile{"FloatBeyondFullScale",
                 "sox -n -r 8000 -e floating-point -b 32 -t wav F " + kSine +
                     " && printf '\\0\\0\\300\\77\\0\\0\\300\\277\\0\\0\\300\\77\\0\\0\\300\\277' "
                     "| dd of=F bs=1 seek=98 conv=notrunc",
                 60,
                 {}},
        // A block codec whose last block announces more frames than it holds, its length in
        // its blocks alone: no byte rate, and its fact chunk renamed.
        WaveFile{"ImaAdpcm",
                 "sox -n -r 8000 -e ima-adpcm -t wav F " + kSine +
                     " && printf '\\0\\0\\0\\0' | dd of=F bs=1 seek=28 conv=notrunc"
                     " && printf junk | dd of=F bs=1 seek=40 conv=notrunc",
                 40,
                 {}},
        WaveFile{"EightChannels", "sox -n -r 8000 -b 16 -c 8 -t wav F " + kSine, kExact, {}},
        // A streaming writer that never went back to fill in the data length.
        WaveFile{"DataLengthLeftUnset",
                 "sox -n -r 8000 -b 16 -t wav F " + kSine +
                     " && printf '\\377\\377\\377\\377' | dd of=F bs=1 seek=40 conv=notrunc",
                 kExact,
                 {}},
        // An odd-sized chunk before the data is followed by one pad byte.
        WaveFile{"OddChunkWithPadByteBeforeTheData",
                 "sox -n -r 8000 -b 16 -t wav G " + kSine +
                     " && { head -c 36 G; printf 'LIST\\3\\0\\0\\0abc\\0'; tail -c +37 G; } > F",
                 kExact,
                 {}},
        // What only this platform's service meets: a FIFO that would hold the window until
        // something writes to it; a sample that is not a number (sample 10).
        WaveFile{"FifoWithoutWriter", "mkfifo F", 0, PlaybackError::NotRegularFile},
        WaveFile{"SampleThatIsNotANumber",
                 "sox -n -r 8000 -e floating-point -b 32 -t wav F synth 0.1 sine 852 && "
                 "printf '\\0\\0\\300\\177' | dd of=F bs=1 seek=98 conv=notrunc",
                 0, PlaybackError::CodecError}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

} // namespace
} // namespace kt5::test
