// ALSA's output over libasound's functions answered as devices answer them: whole frames in
// however many writes the device takes, a drain that reports the run dry after the last
// sample, a device that stops taking the sound; and the names its streams carry.
#include "alsa_output/alsa_output.h"
#include "sound/playback.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <thread>

namespace kt5::test {
namespace {

using namespace std::chrono_literals;
using platform::PlaybackError;
using platform::alsa::Clock;

// The device the fake functions below answer for: libasound's are plain functions, so what
// they stand for is the test's one device.
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
    testing::Values(DeviceCase{"MonoAtOnce", 1, 100000, 0, {}},
                    // After the last sample the device ran dry, which is what it was for.
                    DeviceCase{"StereoInSmallWritesRunningDryAtTheEnd", 2, 64, -EPIPE, {}},
                    DeviceCase{"DrainFails", 1, 64, -EIO, PlaybackError::DeviceFailed},
                    DeviceCase{"StopsTakingTheSound", 1, 0, 0, PlaybackError::TimedOut}),
    [](const auto& row) { return row.param.name; });

// The names a desktop's sound settings list the stream by are the program's, unless the user
// has set one: each of the user's own wins.
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
