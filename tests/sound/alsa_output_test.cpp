// ALSA's output over libasound's functions answered as devices answer them: in small writes,
// running dry, draining on their own, or not at all; and the program's name on its streams.
#include "alsa_output/alsa_output.h"
#include "sound/playback.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <numeric>
#include <optional>
#include <thread>

namespace kt5::test {
namespace {

using namespace std::chrono_literals;
using platform::PlaybackError;
using enum platform::PlaybackError;
using platform::alsa::Clock;

// The device the fake functions below answer for: each call answers from the front of its
// list, then plainly; a write takes up to so many frames (0: none, -EAGAIN), or fails.
struct Device {
    std::deque<long> writes = {};
    std::deque<int> waits = {};
    std::deque<int> drains = {};
    int recoverAnswer = 0;
    std::vector<std::int16_t> written = {};
    unsigned channels = 0, rate = 0;
    bool dropped = false;
};
Device device;

template <class Answer>
Answer next(std::deque<Answer>& answers, Answer plain)
{
    const Answer answer = answers.empty() ? plain : answers.front();
    if (!answers.empty())
        answers.pop_front();
    return answer;
}

const platform::alsa::AsoundApi kFakeAlsa{
    .pcm_open = [](snd_pcm_t** pcm, const char*, snd_pcm_stream_t,
                   int) { return *pcm = reinterpret_cast<snd_pcm_t*>(&device), 0; },
    .pcm_close = [](snd_pcm_t*) { return 0; },
    .pcm_set_params = [](snd_pcm_t*, snd_pcm_format_t, snd_pcm_access_t, unsigned channels,
                         unsigned rate, int,
                         unsigned) { return device.channels = channels, device.rate = rate, 0; },
    .pcm_writei = [](snd_pcm_t*, const void* buffer,
                     snd_pcm_uframes_t frames) -> snd_pcm_sframes_t {
        const long answer = next(device.writes, 64L);
        if (answer <= 0)
            return answer == 0 ? -EAGAIN : answer;
        const auto taken = std::min<snd_pcm_uframes_t>(frames, answer);
        const auto* samples = static_cast<const std::int16_t*>(buffer);
        device.written.insert(device.written.end(), samples, samples + taken * device.channels);
        return static_cast<snd_pcm_sframes_t>(taken);
    },
    .pcm_wait = [](snd_pcm_t*,
                   int) { return std::this_thread::sleep_for(1ms), next(device.waits, 0); },
    .pcm_recover = [](snd_pcm_t*, int, int) { return device.recoverAnswer; },
    .pcm_drop = [](snd_pcm_t*) { return device.dropped = true, 0; },
    .pcm_drain = [](snd_pcm_t*) { return next(device.drains, 0); },
    .strerror = [](int) { return "fake"; },
};

struct DeviceCase {
    std::string name;
    int channels;
    Device device;                             // its answers
    std::optional<PlaybackError> failure = {}; // none: played, every sample in its place
    Clock::duration deadline = 1s;             // from the start
};

using AlsaOutputOn = testing::TestWithParam<DeviceCase>;

// 0.1 s at 48 kHz: played whole, no sooner than its length; or the reason, stopped in time.
TEST_P(AlsaOutputOn, EverySampleInPlaceNoSoonerThanItsLengthOrTheReasonAndTheSoundStopped)
{
    device = GetParam().device;
    platform::decoder::DecodedSound sound{48000, GetParam().channels, {}};
    sound.samples.resize(4800u * static_cast<unsigned>(sound.channels));
    std::iota(sound.samples.begin(), sound.samples.end(), std::int16_t{0});
    const auto start = Clock::now();
    const platform::PlaybackResult result =
        platform::alsa::AlsaOutput(kFakeAlsa).playWhole(sound, start + GetParam().deadline);
    const auto took = Clock::now() - start;
    EXPECT_EQ(failureOf(result), GetParam().failure) << outcome(result);
    if (!GetParam().failure) {
        EXPECT_EQ(device.written, sound.samples);
        EXPECT_EQ(std::pair(device.channels, device.rate),
                  std::pair(static_cast<unsigned>(sound.channels), 48000u));
        EXPECT_GE(took, 100ms) << "over before its length";
    }
    EXPECT_EQ(device.dropped, GetParam().failure == PlaybackError::TimedOut) << "left sounding";
    EXPECT_LT(took, GetParam().deadline + 1s) << "held past its deadline";
}

constexpr int kDry = -EPIPE; // an underrun
INSTANTIATE_TEST_SUITE_P(
    Devices, AlsaOutputOn,
    testing::Values(
        // Run dry after the last sample: it played it all.
        DeviceCase{"StereoInSmallWritesRunningDryAtTheEnd", 2, {.drains = {kDry}}, {}},
        // A busy machine: the writer late again and again, each time after progress.
        DeviceCase{"UnderrunsEachRecovered",
                   1,
                   {.writes = {64, kDry, kDry, kDry, 64, kDry, 64, kDry, 64, kDry, 0, 0},
                    .waits = {0, kDry}}},
        DeviceCase{"RecoveredButTakingNothingMore",
                   1,
                   {.writes = {64, kDry, kDry, kDry, kDry}},
                   DeviceFailed},
        DeviceCase{
            "UnderrunNotRecovered", 1, {.writes = {kDry}, .recoverAnswer = -EIO}, DeviceFailed},
        DeviceCase{"DrainFails", 1, {.drains = {-EIO}}, DeviceFailed},
        // A device, or dmix, drains on its own; a server's plugin blocks until it is done.
        DeviceCase{"DrainsOnItsOwn", 1, {.drains = {-EAGAIN, -EAGAIN, -EAGAIN, 0}}},
        DeviceCase{"NeverDrains", 1, {.drains = std::deque(1000, -EAGAIN)}, TimedOut},
        DeviceCase{"StopsTakingTheSound", 1, {.writes = std::deque(5000, 0L)}, TimedOut},
        // Opened too late for the tone to end by its deadline: not started.
        DeviceCase{"OpenedTooLateToEndInTime", 1, {}, TimedOut, 50ms}),
    [](const auto& row) { return row.param.name; });

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
