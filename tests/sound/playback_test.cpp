// Playback on both platforms, without a sound server: each bad tone file refused before any
// sound, with its own reason; the rules over an output as fast or as stuck as a test needs.
#include "policy/playback_policy.h"
#include "sound/playback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::PlaybackError;
using enum platform::PlaybackError;
using platform::policy::Clock;
using platform::policy::PlaybackTimes;

struct RefusedFile {
    std::string name;
    std::function<void(const fs::path&)> make;
    PlaybackError reason;
};

// Makes a file of `bytes`, grown, sparse, to `size` bytes when one is given.
std::function<void(const fs::path&)> file(std::string bytes, std::uintmax_t size = 0)
{
    return [=](const fs::path& f) {
        std::ofstream(f, std::ios::binary) << bytes;
        if (size != 0)
            fs::resize_file(f, size);
    };
}

using RefusedBeforeAnySound = testing::TestWithParam<RefusedFile>;

TEST_P(RefusedBeforeAnySound, WithItsOwnReason)
{
    const TempDir dir;
    GetParam().make(dir / "tone.wav");
    const platform::PlaybackResult result = newService()->play((dir / "tone.wav").native());
    EXPECT_EQ(failureOf(result), GetParam().reason) << outcome(result);
}

const std::string kTone = waveFile(0.4);

INSTANTIATE_TEST_SUITE_P(
    BadFiles, RefusedBeforeAnySound,
    testing::Values(
        RefusedFile{"Missing", [](const fs::path&) {}, FileMissing},
        RefusedFile{"Directory", [](const fs::path& f) { fs::create_directory(f); },
                    NotRegularFile},
        RefusedFile{"Empty", file(""), Empty},
        RefusedFile{"RiffWithoutAudio", file(waveFile(0)), NotRiffWave},
        RefusedFile{"NotAFrameOfAudio", file(waveFile(1.0 / 16000)), NotRiffWave},
        RefusedFile{"NineChannels", file(waveFile(0.4, {.channels = 9})), CodecError},
        RefusedFile{"TruncatedHeader", file(kTone.substr(0, 30)), DataCutShort},
        // The file holds half the sound its header claims: never half a command.
        RefusedFile{"TruncatedData", file(kTone.substr(0, kTone.size() / 2)), DataCutShort},
        // A valid header over 1.9 GB: played, a day.
        RefusedFile{"LargerThanAnyToneFile",
                    file(waveFile(0.4, {.claimedBytes = 0x72000000u}), 0x72000000u + 44), TooLarge},
        // Its fields would be read from the chunk after it.
        RefusedFile{"FormatChunkTooShort",
                    file(kTone.substr(0, 16) + std::string("\10\0\0\0", 4) + kTone.substr(20, 8) +
                         kTone.substr(36)),
                    NotRiffWave},
        // A codec known by its fact chunk alone, which says 700 s.
        RefusedFile{"LongerThanAnyToneByItsFactChunk",
                    file(waveFile(0.4, {.formatTag = 0x1234, .factFrames = 700 * 8000})), TooLarge},
        // A codec neither platform has: its decoder, or its codec manager, refuses it.
        RefusedFile{"CodecNoneHas", file(waveFile(0.4, {.formatTag = 0x1234})), CodecError},
        RefusedFile{"CodecWithoutALength",
                    file(waveFile(0.4, {.bytesPerSecond = 0, .formatTag = 0x1234})), CodecError}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

// Writes nowhere: notes what it is given, and plays at once; or, while held, not, as a
// stopped sound server holds a call, and then its stop too, as Wine's PlaySound(NULL) does.
struct NullOutput final : platform::policy::SoundOutput, std::enable_shared_from_this<NullOutput> {
    platform::Outcome<platform::policy::ReadySound> prepare(platform::ToneFile file) override
    {
        ++prepared;
        return platform::policy::ReadySound{
            found != 0 ? found : file.layout.frames, file.layout.format.sampleRate,
            [self = shared_from_this()](Clock::time_point deadline) {
                self->given = deadline;
                return self->waitWhileHeld(), platform::PlaybackResult{};
            }};
    }
    void stop() override { ++stops, waitWhileHeld(); }
    void waitWhileHeld() const
    {
        while (held)
            std::this_thread::sleep_for(1ms);
    }

    std::atomic<bool> held = false;
    std::uint64_t found = 0; // frames it finds, as a decoder may find more than a header says
    std::atomic<int> prepared = 0;
    std::atomic<int> stops = 0;
    std::atomic<Clock::time_point> given; // the deadline
};

class PlaybackPolicy : public testing::Test {
protected:
    void SetUp() override { std::ofstream(tone, std::ios::binary) << waveFile(0.1); }
    void TearDown() override
    {
        output->held = false;
        EXPECT_EQ(playOnceFree(), "played");
    }

    std::unique_ptr<platform::SoundService> service(PlaybackTimes times = {}) const
    {
        return platform::policy::createPolicedService(output, times);
    }
    // What a play says once the output has returned from every sound before.
    std::string playOnceFree() const
    {
        std::string said;
        waitUntil(
            [&] {
                said = outcome(service()->play(tone));
                return !said.starts_with(describe(Busy)) &&
                       !said.starts_with(describe(NotAnswering));
            },
            10s);
        return said;
    }

    TempDir dir;
    const std::filesystem::path tone = dir / "tone.wav"; // 0.1 s
    std::shared_ptr<NullOutput> output = std::make_shared<NullOutput>();
};

TEST_F(PlaybackPolicy, ALengthIsItsFramesAtItsRateNotWhatTheByteRateClaims)
{
    // 8 s of sound that a byte rate four times too high makes 2 s, as sloppy writers do.
    std::ofstream(dir / "8s.wav", std::ios::binary) << waveFile(8, {.bytesPerSecond = 64000});
    const auto start = Clock::now();
    EXPECT_EQ(outcome(service()->play(dir / "8s.wav")), "played");
    EXPECT_GE(output->given.load() - start, 8s + PlaybackTimes{}.grace) << "less than its length";
    EXPECT_LT(output->given.load() - start, 9s + PlaybackTimes{}.grace);

    // 20 minutes that its byte rate makes 10 s: refused, naming both.
    std::ofstream(dir / "20min.wav", std::ios::binary)
        << waveFile(1200, {.bytesPerSecond = 1200 * 16000 / 10});
    EXPECT_EQ(outcome(service()->play(dir / "20min.wav")),
              "file too large for a tone (it lasts 1200 s, over the 600 s a tone may last; its "
              "header's byte rate says 10 s)");
    EXPECT_EQ(output->prepared, 1) << "the long one reached the output";
    // Where the output finds more sound than the header says, what it found decides.
    output->found = 700 * 8000;
    EXPECT_EQ(outcome(service()->play(tone)),
              "file too large for a tone (it lasts 700 s, over the 600 s a tone may last)");
    output->found = 0;
}

TEST_F(PlaybackPolicy, OneSoundAtATimeForTheProcessTheNextRefusedAtOnceNeverQueuedOrCut)
{
    output->held = true;
    auto first = std::async(std::launch::async, [&] { return outcome(service()->play(tone)); });
    EXPECT_TRUE(waitUntil([&] { return output->prepared == 1; }, 10s));
    const auto asked = Clock::now();
    EXPECT_EQ(failureOf(service()->play(tone)), PlaybackError::Busy) << "from another service";
    EXPECT_LT((Clock::now() - asked), PlaybackTimes{}.grace) << "waited for the first";
    EXPECT_EQ(output->prepared, 1) << "the second was queued";
    output->held = false;
    EXPECT_EQ(first.get(), "played") << "the first was cut";
    // Free the moment its caller hears: quick clicks in a row each play.
    for (int click = 0; click < 1000; ++click)
        ASSERT_EQ(outcome(service()->play(tone)), "played") << "click " << click;
}

// An output that stops answering: the caller is back at the deadline however long its stop
// waits, and the next sound is told so at once.
TEST_F(PlaybackPolicy, AStoppedOutputIsGivenUpAtTheDeadlineAndTheNextToldSoUntilItAnswers)
{
    const PlaybackTimes times{.grace = 50ms, .reportMargin = 50ms};
    const auto dueBack = 100ms + times.grace + times.reportMargin;
    output->held = true;
    const auto start = Clock::now();
    EXPECT_EQ(outcome(service(times)->play(tone)),
              "sound output timed out (the 0.1 s tone had not ended 0.1 s after its length)");
    EXPECT_GE((Clock::now() - start), dueBack) << "before time";
    EXPECT_LT((Clock::now() - start), dueBack + 1s) << "held past the deadline";
    EXPECT_TRUE(waitUntil([&] { return output->stops == 1; }, 10s)) << "not stopped";
    const auto asked = Clock::now();
    EXPECT_EQ(failureOf(service(times)->play(tone)), PlaybackError::NotAnswering);
    EXPECT_LT((Clock::now() - asked), dueBack) << "not at once";
}

} // namespace
} // namespace kt5::test
