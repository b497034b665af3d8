// Playback on Linux, in milliseconds and without a sound server: its rules over an output that
// writes nowhere, and ALSA's output over libasound's functions answered as devices answer
// them. (What only a real sound server shows, sound_stack_test shows.)
#include "alsa_output/alsa_output.h"
#include "policy/playback_policy.h"
#include "sound/playback.h"
#include "testing/child_process.h"
#include "testing/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <future>
#include <numeric>
#include <optional>
#include <thread>
#include <utility>

namespace kt5::test {
namespace {

using namespace std::chrono_literals;
using platform::PlaybackError;
using platform::policy::Clock;
using platform::policy::createPolicedService;
using platform::policy::PlaybackTimes;

// Writes nowhere: counts the sounds it is given; answers as `answer` says, or that it played.
struct NullOutput final : platform::policy::SoundOutput {
    platform::PlaybackResult playWhole(const platform::decoder::DecodedSound&,
                                       Clock::time_point deadline) override
    {
        ++calls;
        return answer ? answer(deadline) : platform::PlaybackResult{};
    }
    std::function<platform::PlaybackResult(Clock::time_point deadline)> answer; // set before use
    std::atomic<int> calls = 0;
};

class PlaybackPolicy : public testing::Test {
protected:
    void SetUp() override { std::ofstream(tone, std::ios::binary) << waveFile(0.1); }
    // No sound of a test may hold the next test's output.
    void TearDown() override
    {
        letGo();
        EXPECT_EQ(playOnceFree(std::make_shared<NullOutput>()), "played");
    }

    std::unique_ptr<platform::SoundService> service(PlaybackTimes times = {}) const
    {
        return createPolicedService(output, times);
    }
    // Holds each sound given to the output until let go, as a stopped sound server does.
    void hold()
    {
        output->answer = [released = released_.get_future().share()](Clock::time_point) {
            released.wait();
            return platform::PlaybackResult{};
        };
    }
    void letGo()
    {
        if (!std::exchange(letGone_, true))
            released_.set_value();
    }
    // Plays on `on` once no other sound holds the output (the thread of one that was given up
    // may still be on its way out): what the play said.
    std::string playOnceFree(const std::shared_ptr<NullOutput>& on) const
    {
        std::string said;
        waitUntil(
            [&] {
                said = outcome(createPolicedService(on)->play(tone));
                return !said.starts_with(describe(PlaybackError::Busy));
            },
            std::chrono::seconds(10));
        return said;
    }

    TempDir dir;
    const std::string tone = (dir / "tone.wav").string(); // 0.1 s, 800 frames at 8 kHz
    std::shared_ptr<NullOutput> output = std::make_shared<NullOutput>();

private:
    std::promise<void> released_;
    bool letGone_ = false;
};

TEST_F(PlaybackPolicy, NothingOfAFileThatCannotBePlayedWholeReachesTheOutput)
{
    const std::string whole = waveFile(0.1);
    std::ofstream(dir / "half.wav", std::ios::binary) << whole.substr(0, whole.size() / 2);
    EXPECT_EQ(failureOf(service()->play((dir / "half.wav").string())), PlaybackError::DataCutShort);
    EXPECT_EQ(output->calls, 0);
}

TEST_F(PlaybackPolicy, OneSoundAtATimeForTheProcessTheNextRefusedAtOnceNeverQueuedOrCut)
{
    hold();
    auto first = std::async(std::launch::async, [&] { return outcome(service()->play(tone)); });
    ASSERT_TRUE(waitUntil([&] { return output->calls == 1; }, std::chrono::seconds(10)));
    EXPECT_EQ(failureOf(service()->play(tone)), PlaybackError::Busy) << "from another service";
    EXPECT_EQ(output->calls, 1) << "the second was queued";
    letGo();
    EXPECT_EQ(first.get(), "played") << "the first was cut";
    // Free the moment its caller hears: quick clicks in a row each play.
    for (int click = 0; click < 1000; ++click)
        ASSERT_EQ(outcome(service()->play(tone)), "played") << "click " << click;
}

TEST_F(PlaybackPolicy, AStoppedOutputIsGivenUpAtTheDeadlineAndKeptUntilItAnswers)
{
    const PlaybackTimes times{.grace = 50ms, .reportMargin = 50ms};
    hold();
    const auto start = Clock::now();
    const platform::PlaybackResult stopped = service(times)->play(tone);
    EXPECT_EQ(failureOf(stopped), PlaybackError::TimedOut) << outcome(stopped);
    EXPECT_GE(Clock::now() - start, 100ms + times.grace + times.reportMargin) << "before time";
    EXPECT_EQ(failureOf(service(times)->play(tone)), PlaybackError::Busy)
        << "played over the stopped one";
    letGo();
    EXPECT_EQ(playOnceFree(output), "played") << "once the output answered";
}

// The one device that the fake libasound functions below, plain functions, answer for.
struct Device {
    snd_pcm_uframes_t framesPerWrite = 0; // the most one write takes; 0 takes none
    int drainAnswer = 0;
    std::vector<std::int16_t> written;
    unsigned channels = 0;
    unsigned rate = 0;
    bool dropped = false;
};
Device device;

snd_pcm_t* const kPcm = reinterpret_cast<snd_pcm_t*>(&device);

const platform::alsa::AsoundApi kFakeAlsa{
    .pcm_open = [](snd_pcm_t** pcm, const char*, snd_pcm_stream_t, int) { return *pcm = kPcm, 0; },
    .pcm_close = [](snd_pcm_t*) { return 0; },
    .pcm_set_params = [](snd_pcm_t*, snd_pcm_format_t, snd_pcm_access_t, unsigned channels,
                         unsigned rate, int,
                         unsigned) { return device.channels = channels, device.rate = rate, 0; },
    .pcm_writei =
        [](snd_pcm_t*, const void* buffer, snd_pcm_uframes_t frames) {
            const auto taken = std::min(frames, device.framesPerWrite);
            if (taken == 0)
                return snd_pcm_sframes_t{-EAGAIN};
            const auto* samples = static_cast<const std::int16_t*>(buffer);
            device.written.insert(device.written.end(), samples, samples + taken * device.channels);
            return static_cast<snd_pcm_sframes_t>(taken);
        },
    .pcm_wait = [](snd_pcm_t*, int) { return std::this_thread::sleep_for(1ms), 0; },
    .pcm_recover = [](snd_pcm_t*, int, int) { return -EIO; },
    .pcm_drop = [](snd_pcm_t*) { return device.dropped = true, 0; },
    .pcm_drain = [](snd_pcm_t*) { return device.drainAnswer; },
    .pcm_nonblock = [](snd_pcm_t*, int) { return 0; },
    .strerror = [](int) { return "fake"; },
};

struct DeviceCase {
    std::string name;
    int channels;
    snd_pcm_uframes_t framesPerWrite;
    int drainAnswer;
    std::optional<PlaybackError> failure; // none: played, every sample in its place
};

using AlsaOutputOn = testing::TestWithParam<DeviceCase>;

TEST_P(AlsaOutputOn, EverySampleInPlaceOrTheReasonAndTheSoundStopped)
{
    device = Device{};
    device.framesPerWrite = GetParam().framesPerWrite;
    device.drainAnswer = GetParam().drainAnswer;
    platform::decoder::DecodedSound sound{48000, GetParam().channels, {}};
    sound.samples.resize(1000u * static_cast<unsigned>(sound.channels));
    std::iota(sound.samples.begin(), sound.samples.end(), std::int16_t{0});
    const platform::PlaybackResult result =
        platform::alsa::AlsaOutput(kFakeAlsa).playWhole(sound, Clock::now() + 200ms);
    EXPECT_EQ(failureOf(result), GetParam().failure) << outcome(result);
    if (!GetParam().failure) {
        EXPECT_EQ(device.written, sound.samples);
        EXPECT_EQ(device.channels, static_cast<unsigned>(sound.channels));
        EXPECT_EQ(device.rate, 48000u);
    }
    EXPECT_EQ(device.dropped, GetParam().failure == PlaybackError::TimedOut) << "left sounding";
}

INSTANTIATE_TEST_SUITE_P(
    Devices, AlsaOutputOn,
    testing::Values( // a device that ran dry after the last sample played it all
        DeviceCase{"StereoInSmallWritesRunningDryAtTheEnd", 2, 64, -EPIPE, {}},
        DeviceCase{"DrainFails", 1, 64, -EIO, PlaybackError::DeviceFailed},
        DeviceCase{"StopsTakingTheSound", 1, 0, 0, PlaybackError::TimedOut}),
    [](const auto& row) { return row.param.name; });

// The stream carries the program's name and icon, as sound settings list it, unless the user
// set their own.
TEST(AlsaStreams, CarryTheProgramsNameAndIconUnlessTheUserSetTheirOwn)
{
    ::setenv("PULSE_PROP_OVERRIDE_application.name", "Radio keys", 1);
    ::unsetenv("PULSE_PROP_OVERRIDE_application.icon_name");
    ::unsetenv("PIPEWIRE_ALSA");
    platform::createSoundService({"kt5 \"dtmf\"", "org.example.kt5"});
    EXPECT_STREQ(std::getenv("PULSE_PROP_OVERRIDE_application.name"), "Radio keys");
    EXPECT_STREQ(std::getenv("PULSE_PROP_OVERRIDE_application.icon_name"), "org.example.kt5");
    EXPECT_STREQ(std::getenv("PIPEWIRE_ALSA"), R"({ application.name = "kt5 \"dtmf\"" )"
                                               R"(application.icon_name = "org.example.kt5" })");
}

} // namespace
} // namespace kt5::test
