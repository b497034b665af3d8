// The real sound service on Linux through the real libasound, into a WAV capture (ALSA's
// default device redirected): what sox, an independent decoder, hears in each kind of wave
// file, and nothing for a file or an output that fails as only this platform's can.
#include "sound/playback.h"
#include "testing/alsa_capture.h"
#include "testing/files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using platform::PlaybackError;

class CapturedPlayback : public testing::Test {
protected:
    void SetUp() override { redirectAlsaDefault(home.path(), alsaToWaveFile(capture)); }
    void make(const std::string& command)
    {
        ASSERT_EQ(std::system(("cd '" + tones.path().string() + "' && " + command).c_str()), 0)
            << command;
    }
    platform::PlaybackResult play() { return sound->play((tones / "F").string()); }

    TempDir home;
    TempDir tones;
    fs::path capture = home / "captured.wav";
    std::unique_ptr<platform::SoundService> sound = newService();
};

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

struct PlayableFile {
    std::string name;
    std::string make; // makes F
    double minSnrDb;  // INFINITY: every sample as sox decodes it
};

class EveryWaveFile : public CapturedPlayback, public testing::WithParamInterface<PlayableFile> {};

TEST_P(EveryWaveFile, ReachesTheDeviceAsItsOwnSignalAtItsRateAndChannels)
{
    make(GetParam().make);
    make("sox -t wav F -e signed-integer -b 16 heard.wav");
    const Audio heard = readSound(tones / "heard.wav");

    ASSERT_TRUE(play().played());

    const Audio played = readSound(capture);
    EXPECT_EQ(played.sampleRate, heard.sampleRate);
    EXPECT_EQ(played.channels, heard.channels);
    // Block codecs may pad their last block; never may audio go missing.
    EXPECT_GE(played.samples.size(), heard.samples.size());
    EXPECT_LE(played.samples.size(), heard.samples.size() + 2048u * heard.channels);
    const double snr = snrDb(heard.samples, played.samples);
    EXPECT_TRUE(std::isinf(GetParam().minSnrDb) ? std::isinf(snr) : snr >= GetParam().minSnrDb)
        << "SNR " << snr << " dB";
}

// Sines; a stereo file's channels differ, so that swapped ones show.
const std::string kSine = "synth 0.3 sine 697 sine 1209";
INSTANTIATE_TEST_SUITE_P(
    Files, EveryWaveFile,
    testing::Values(
        PlayableFile{"Pcm16Stereo44k", "sox -n -r 44100 -c 2 -b 16 -t wav F " + kSine, INFINITY},
        // Samples 10 to 13 at +1.5 and -1.5: clipped as sox clips them, never wrapped round.
        PlayableFile{
            "FloatBeyondFullScale",
            "sox -n -r 8000 -e floating-point -b 32 -t wav F " + kSine +
                " && printf '\\0\\0\\300\\77\\0\\0\\300\\277\\0\\0\\300\\77\\0\\0\\300\\277' | "
                "dd of=F bs=1 seek=98 conv=notrunc",
            60},
        // A block codec whose last block announces more frames than it holds.
        PlayableFile{"ImaAdpcm", "sox -n -r 8000 -e ima-adpcm -t wav F " + kSine, 40},
        // A streaming writer that never went back to fill in the data length.
        PlayableFile{"DataLengthLeftUnset",
                     "sox -n -r 8000 -b 16 -t wav F " + kSine +
                         " && printf '\\377\\377\\377\\377' | dd of=F bs=1 seek=40 conv=notrunc",
                     INFINITY},
        // An odd-sized chunk before the data is followed by one pad byte.
        PlayableFile{
            "OddChunkWithPadByteBeforeTheData",
            "sox -n -r 8000 -b 16 -t wav G " + kSine +
                " && { head -c 36 G; printf 'LIST\\3\\0\\0\\0abc\\0'; tail -c +37 G; } > F",
            INFINITY}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

// What only this platform can meet: its own reason each time, and nothing on the device.
// Where a device fails, its own words come back as the detail.
struct BadCase {
    std::string name;
    std::string make;
    PlaybackError reason;
    std::string pcm = ""; // the default device instead, if not empty
};

class LinuxRefusals : public CapturedPlayback, public testing::WithParamInterface<BadCase> {};

TEST_P(LinuxRefusals, FailWithTheirReasonAndPlayNothing)
{
    if (!GetParam().pcm.empty())
        redirectAlsaDefault(home.path(), GetParam().pcm);
    make(GetParam().make);

    const platform::PlaybackResult result = play();
    EXPECT_EQ(failureOf(result), GetParam().reason);
    EXPECT_TRUE(GetParam().pcm.empty() || !outcome(result).ends_with("()")) << "no detail";
    EXPECT_FALSE(fs::exists(capture)) << "the device was opened";
}

const std::string kTone = "sox -n -r 8000 -b 16 -t wav F synth 0.2 sine 852";
INSTANTIATE_TEST_SUITE_P(
    BadCases, LinuxRefusals,
    testing::Values(
        BadCase{"FifoWithoutWriter", "mkfifo F", PlaybackError::NotRegularFile},
        BadCase{"SampleThatIsNotANumber",
                "sox -n -r 8000 -e floating-point -b 32 -t wav F synth 0.1 sine 852 && "
                "printf '\\0\\0\\300\\177' | dd of=F bs=1 seek=98 conv=notrunc", // sample 10
                PlaybackError::CodecError},
        // A good file with nowhere to play it.
        BadCase{"CaptureFileUnwritable", kTone, PlaybackError::DeviceFailed,
                alsaToWaveFile("/nonexistent/dir/c.wav")}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

} // namespace
} // namespace kt5::test
