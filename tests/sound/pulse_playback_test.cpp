// The real sound service on a device that plays in real time: a private PulseAudio server
// with a null sink, reached through ALSA's pulse plugin.
#include "platform/alsa/alsa_sound_service.h"
#include "support/alsa_redirect.h"
#include "support/pulse_daemon.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// The null sink consumes in blocks of the 10 ms latency its clock stream asks for, so the
// last block may be taken up to that much before its time.
constexpr Seconds kSinkGranularity{0.015};

class RealTimePlayback : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        daemon = std::make_unique<PulseDaemon>();
        home = std::make_unique<TempDir>();
        redirect = std::make_unique<AlsaRedirect>(home->path(),
                                                  AlsaRedirect::toPulseServer(daemon->socket()));
    }
    static void TearDownTestSuite()
    {
        redirect.reset();
        home.reset();
        daemon.reset();
    }
    void SetUp() override { ASSERT_TRUE(daemon->ready()) << "PulseAudio did not start"; }

    static fs::path toneOf(double seconds, const std::string& name)
    {
        const fs::path file = *home / name;
        writeSound(file, sine(1477, seconds, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        return file;
    }

    // Plays and returns {result, wall time}.
    static std::pair<bool, Seconds> timedPlay(platform::SoundService& service, const fs::path& f)
    {
        const auto start = Clock::now();
        const bool ok = service.playFileSync(f.string());
        return {ok, Clock::now() - start};
    }

    static inline std::unique_ptr<PulseDaemon> daemon;
    static inline std::unique_ptr<TempDir> home;
    static inline std::unique_ptr<AlsaRedirect> redirect;
};

TEST_F(RealTimePlayback, ReturnsOnlyWhenTheWholeSoundHasPlayed)
{
    platform::alsa::AlsaSoundService service;
    for (const double seconds : {0.05, 0.8}) {
        const auto [ok, elapsed] = timedPlay(service, toneOf(seconds, "t.wav"));
        EXPECT_TRUE(ok);
        EXPECT_GE(elapsed, Seconds(seconds) - kSinkGranularity) << seconds << " s of audio";
    }
}

TEST_F(RealTimePlayback, SecondSoundWhileOneIsSoundingIsRefusedAtOnce)
{
    const Seconds length{1.2};
    const fs::path first = toneOf(length.count(), "first.wav");
    const fs::path second = toneOf(0.3, "second.wav");

    platform::alsa::AlsaSoundService firstService;
    auto firstPlay = std::async(std::launch::async, [&] { return timedPlay(firstService, first); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // Another thread and another service object: the rule holds for the whole process.
    platform::alsa::AlsaSoundService secondService;
    const auto [secondOk, secondElapsed] = timedPlay(secondService, second);
    const auto [firstOk, firstElapsed] = firstPlay.get();

    EXPECT_FALSE(secondOk);
    EXPECT_LT(secondElapsed, length / 4) << "the second call waited behind the first";
    EXPECT_TRUE(firstOk);
    EXPECT_GE(firstElapsed, length - kSinkGranularity) << "the first sound was cut short";

    EXPECT_TRUE(secondService.playFileSync(second.string())) << "the output was not released";
}

} // namespace
} // namespace kt5::test
