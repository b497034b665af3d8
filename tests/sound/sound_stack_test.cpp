// The real sound service on every sound server a desktop runs, started privately: what only a
// real server shows. (What each stack makes heard, the end-to-end fixture records.)
#include "sound/playback.h"
#include "testing/sound_stacks.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>

namespace kt5::test {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using platform::PlaybackError;

// Built-in tone files: 03.wav, and 00.wav, which lasts 0.8 s.
constexpr const char* kThree = KT5_TONE_DIR "/03.wav";
constexpr const char* kZero = KT5_TONE_DIR "/00.wav";

class OnEveryServer : public testing::TestWithParam<Stack> {
protected:
    void SetUp() override
    {
        if (!stack.lacked().empty())
            GTEST_SKIP() << stack.lacked();
        ASSERT_TRUE(stack.ready()) << nameOf(GetParam()) << " did not start\n" << stack.logs();
        stack.useInThisProcess();
    }

    // Plays `tone`, doing `meanwhile` with its stream once listed: what it said, how long.
    std::pair<std::string, Seconds> playWhile(const char* tone,
                                              const std::function<void(QJsonObject)>& meanwhile)
    {
        auto play = std::async(std::launch::async, [&] {
            const auto start = Clock::now();
            const std::string result = outcome(sound->play(tone));
            return std::pair{result, Seconds(Clock::now() - start)};
        });
        QJsonObject ours;
        waitUntil(
            [&] {
                for (const QJsonObject& stream : stack.listed("sink-inputs"))
                    if (stream["properties"]["application.name"] == product::kDisplayName.data() &&
                        stream["sink"].toDouble() != 4294967295.0) // no sink yet
                        ours = stream["properties"].toObject();
                return !ours.isEmpty();
            },
            std::chrono::seconds(3));
        meanwhile(ours);
        return play.get();
    }
    SoundStack stack{GetParam()};
    std::unique_ptr<platform::SoundService> sound = newService();
};

TEST_P(OnEveryServer, ASoundReturnsOnceHeardAsTheProgramsAndADeadServerIsNamedInTime)
{
    // The stream, as the sound settings list it: the menu entry's name and icon, and no role,
    // so that a server remembers the output a user moves it to by the program's name.
    const auto [played, took] = playWhile(kThree, [](const QJsonObject& stream) {
        EXPECT_EQ(stream["application.icon_name"], product::kDesktopId.data())
            << "no stream named " << product::kDisplayName << ", or not its icon";
        EXPECT_FALSE(stream.contains("media.role"));
    });
    EXPECT_EQ(played, "played");
    EXPECT_GE(took, Seconds(0.75)) << "returned before the tone was heard";

    // Killed mid-tone, and then while dead: each named as it is, not as a stopped output.
    const auto [killed, named] = playWhile(kZero, [&](const QJsonObject&) { stack.kill(); });
    EXPECT_TRUE(killed.starts_with(describe(PlaybackError::DeviceFailed))) << killed;
    EXPECT_LT(named, Seconds(0.8 + 2)) << "taken for a stopped output";
    EXPECT_EQ(failureOf(sound->play(kThree)), PlaybackError::DeviceNotOpened) << "when dead";
    ASSERT_TRUE(stack.restart()) << stack.logs();
    EXPECT_EQ(outcome(sound->play(kThree)), "played") << "a new server";
}

INSTANTIATE_TEST_SUITE_P(Servers, OnEveryServer,
                         testing::Values(Stack::PulseAudio, Stack::PipeWireAlsa,
                                         Stack::PipeWirePulse),
                         [](const auto& row) { return nameOf(row.param); });

} // namespace
} // namespace kt5::test
