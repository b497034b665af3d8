// The real sound service through the real libasound, on tone files made by shell commands.
// Into a WAV file (ALSA's default device redirected): what sox, an independent decoder, hears
// in each kind of wave file, and nothing for a file or an output that fails. On a private
// PulseAudio null sink, in real time: how long a play takes, and a server that stops or dies.
#include "platform/alsa/alsa_sound_service.h"
#include "support/files.h"
#include "support/sound_servers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <future>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kt5::platform {
void PrintTo(PlaybackError error, std::ostream* out) // failures name the reason
{
    *out << describe(error);
}
} // namespace kt5::platform

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using platform::PlaybackError;

class SoundTest : public testing::Test {
protected:
    void make(const std::string& command)
    {
        ASSERT_EQ(std::system(("cd '" + tones.path().string() + "' && " + command).c_str()), 0)
            << command;
    }
    PlaybackError play(const std::string& file = "F")
    {
        return service.play((tones / file).string()).error;
    }

    TempDir home;
    TempDir tones;
    platform::alsa::AlsaSoundService service;
};

class CapturedPlayback : public SoundTest {
protected:
    void SetUp() override { redirectAlsaDefault(home.path(), alsaToWaveFile(capture)); }
    fs::path capture = home / "captured.wav";
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

    ASSERT_EQ(play(), PlaybackError::None);

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

// Sines in each codec; a stereo file's channels differ, so that swapped ones show.
const std::string kSine = "synth 0.3 sine 697 sine 1209";
INSTANTIATE_TEST_SUITE_P(
    Files, EveryWaveFile,
    testing::Values(
        PlayableFile{"Pcm8", "sox -n -r 8000 -e unsigned -b 8 -t wav F " + kSine, 40},
        PlayableFile{"Pcm16Stereo44k", "sox -n -r 44100 -c 2 -b 16 -t wav F " + kSine, INFINITY},
        PlayableFile{"Pcm24", "sox -n -r 48000 -c 2 -b 24 -t wav F " + kSine, 60},
        PlayableFile{"Float", "sox -n -r 16000 -e floating-point -b 32 -t wav F " + kSine, 60},
        PlayableFile{"MuLaw", "sox -n -r 8000 -e u-law -t wav F " + kSine, 60},
        // Samples 10 to 13 at +1.5 and -1.5: clipped as sox clips them, never wrapped round.
        PlayableFile{
            "FloatBeyondFullScale",
            "sox -n -r 8000 -e floating-point -b 32 -t wav F " + kSine +
                " && printf '\\0\\0\\300\\77\\0\\0\\300\\277\\0\\0\\300\\77\\0\\0\\300\\277' | "
                "dd of=F bs=1 seek=98 conv=notrunc",
            60},
        PlayableFile{"ImaAdpcm", "sox -n -r 8000 -e ima-adpcm -t wav F " + kSine, 40},
        PlayableFile{"MsAdpcmStereo", "sox -n -r 11025 -c 2 -e ms-adpcm -t wav F " + kSine, 40},
        PlayableFile{"Gsm610", "sox -n -r 8000 -e gsm-full-rate -t wav F " + kSine, 20},
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

// Every way a play can fail before a sound starts: its own reason, and nothing on the
// device. Where a device fails, its own words come back as the detail.
struct BadFile {
    std::string name;
    std::string make;
    PlaybackError reason;
    std::string pcm = ""; // the default device instead, if not empty
};

class UnplayableFile : public CapturedPlayback, public testing::WithParamInterface<BadFile> {};

TEST_P(UnplayableFile, FailsWithItsReasonAndPlaysNothing)
{
    if (!GetParam().pcm.empty())
        redirectAlsaDefault(home.path(), GetParam().pcm);
    make(GetParam().make);

    const auto result = service.play((tones / "F").string());
    EXPECT_EQ(result.error, GetParam().reason);
    EXPECT_TRUE(GetParam().pcm.empty() || !result.detail.empty());
    EXPECT_FALSE(fs::exists(capture)) << "the device was opened";
}

const std::string kTone = "sox -n -r 8000 -b 16 -t wav G synth 0.2 sine 852 && ";
INSTANTIATE_TEST_SUITE_P(
    BadFiles, UnplayableFile,
    testing::Values(
        BadFile{"Missing", "true", PlaybackError::FileMissing},
        BadFile{"DanglingSymlink", "ln -s /nonexistent/x.wav F", PlaybackError::FileMissing},
        BadFile{"Directory", "mkdir F", PlaybackError::NotRegularFile},
        BadFile{"FifoWithoutWriter", "mkfifo F", PlaybackError::NotRegularFile},
        BadFile{"Empty", ": > F", PlaybackError::Empty},
        BadFile{"LargerThanAnyToneFile", kTone + "cp G F && truncate -s 129M F",
                PlaybackError::TooLarge},
        // 8-bit audio within the file limit that would decode beyond the memory limit.
        BadFile{
            "AudioThatWouldDecodeBeyondTheCeiling",
            "sox -n -r 8000 -e unsigned -b 8 -t wav G synth 0.1 sine 852 && head -c 40 G > F && "
            "printf '\\020\\0\\0\\002' >> F && truncate -s 33554492 F",
            PlaybackError::TooLarge},
        BadFile{"TextFile", "echo 'RIFF? no, just a note' > F", PlaybackError::NotRiffWave},
        BadFile{"AiffRenamed", "sox -n -r 8000 -t aiff F synth 0.2 sine 852",
                PlaybackError::NotRiffWave},
        BadFile{"RiffWithoutAudio", kTone + "head -c 40 G > F && printf '\\0\\0\\0\\0' >> F",
                PlaybackError::NotRiffWave},
        BadFile{"TruncatedHeader", kTone + "head -c 30 G > F", PlaybackError::DataCutShort},
        BadFile{"TruncatedData", kTone + "head -c 1800 G > F", PlaybackError::DataCutShort},
        BadFile{"SampleThatIsNotANumber",
                "sox -n -r 8000 -e floating-point -b 32 -t wav G synth 0.1 sine 852 && cp G F && "
                "printf '\\0\\0\\300\\177' | dd of=F bs=1 seek=98 conv=notrunc", // sample 10
                PlaybackError::CodecError},
        // Good files with nowhere to play them.
        BadFile{"NoSoundCard", kTone + "cp G F", PlaybackError::DeviceNotOpened,
                "type hw\ncard 31"},
        BadFile{"SoundServerGone", kTone + "cp G F", PlaybackError::DeviceNotOpened,
                alsaToPulseServer("/nonexistent/s")},
        BadFile{"CaptureFileUnwritable", kTone + "cp G F", PlaybackError::DeviceFailed,
                alsaToWaveFile("/nonexistent/dir/c.wav")}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

TEST_F(CapturedPlayback, UnreadableFileFailsAsSuchAndTheNextFilePlays)
{
    make("sox -n -r 8000 -b 16 -t wav F synth 0.2 sine 941 && chmod 0 F && chmod 755 .");

    // In a child that has given up root, since root reads any file.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(play() == PlaybackError::Unreadable ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(capture));

    make("chmod 644 F");
    EXPECT_EQ(play(), PlaybackError::None) << "a failure kept the output";
}

// A null backend: the service given libraries that are not there.
TEST(NullBackend, MissingLibraryIsReportedWithTheLoadersWords)
{
    platform::alsa::AlsaSoundService service([]() -> const platform::alsa::AudioLibraries& {
        static const platform::alsa::AudioLibraries none{
            {nullptr, "libsndfile.so.1: cannot open shared object file"}, {}};
        return none;
    });
    const auto result = service.play("/nonexistent/01.wav");
    EXPECT_EQ(result.error, PlaybackError::LibraryMissing);
    EXPECT_EQ(result.detail, "libsndfile.so.1: cannot open shared object file");
}

// The null sink takes sound in 10 ms blocks (its clock's latency), the last up to that early. A
// tone takes at most its length and kBound (the service's grace, and a loaded machine's).
constexpr Seconds kSinkGranularity{0.015};
constexpr Seconds kBound{3.0};

class RealTimePlayback : public SoundTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daemon.ready()) << "PulseAudio did not start";
        redirectAlsaDefault(home.path(), alsaToPulseServer(daemon.socket()));
    }

    std::string tone(double seconds, const std::string& name)
    {
        make("sox -n -r 8000 -b 16 -t wav " + name + " synth " + std::to_string(seconds) +
             " sine 1477");
        return (tones / name).string();
    }

    std::pair<PlaybackError, Seconds> timedPlay(platform::SoundService& sound,
                                                const std::string& file)
    {
        const auto start = Clock::now();
        const PlaybackError error = sound.play(file).error;
        return {error, Clock::now() - start};
    }

    PulseDaemon daemon;
};

TEST_F(RealTimePlayback, ReturnsOnceItHasPlayedAndRefusesASecondSoundMeanwhileAtOnce)
{
    const Seconds length{1.2};
    const std::string first = tone(length.count(), "first.wav");
    const std::string second = tone(0.3, "second.wav");
    auto firstPlay = std::async(std::launch::async, [&] { return timedPlay(service, first); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Another thread and another service object: the rule holds for the whole process.
    platform::alsa::AlsaSoundService other;
    const auto [refused, refusedAfter] = timedPlay(other, second);
    const auto [firstError, firstTook] = firstPlay.get();

    EXPECT_EQ(refused, PlaybackError::Busy);
    EXPECT_LT(refusedAfter, length / 4) << "the second call waited behind the first";
    EXPECT_EQ(firstError, PlaybackError::None);
    EXPECT_GE(firstTook, length - kSinkGranularity) << "the first sound was cut short";
    EXPECT_EQ(other.play(second).error, PlaybackError::None) << "the output was not released";
}

TEST_F(RealTimePlayback, ServerThatStopsMidToneTimesOutOneThatDiesFailsAtOnceAndEachIsUsedAfter)
{
    const Seconds length{0.8};
    const std::string file = tone(length.count(), "00.wav");
    auto play = std::async(std::launch::async, [&] { return timedPlay(service, file); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    daemon.freeze();
    const auto [error, took] = play.get();
    daemon.thaw();

    EXPECT_EQ(error, PlaybackError::TimedOut);
    EXPECT_LT(took, length + kBound) << "the caller waited for the stopped server";
    // The output stays busy until the stopped call has returned; then it plays again.
    PlaybackError next = PlaybackError::Busy;
    waitUntil([&] { return (next = service.play(file).error) != PlaybackError::Busy; },
              std::chrono::seconds(10));
    EXPECT_EQ(next, PlaybackError::None);

    daemon.kill();
    const auto [killedError, killedTook] = timedPlay(service, file);
    EXPECT_EQ(killedError, PlaybackError::DeviceNotOpened);
    EXPECT_LT(killedTook, Seconds(1));
    ASSERT_TRUE(daemon.start());
    EXPECT_EQ(service.play(file).error, PlaybackError::None) << "a new server";
}

} // namespace
} // namespace kt5::test
