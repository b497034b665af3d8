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

    SoundStack stack{GetParam()};
    std::unique_ptr<platform::SoundService> sound = newService();
};

// The properties of the program's stream while it plays, as the server lists them once it
// has been given its output.
std::string ourStream(const SoundStack& stack)
{
    std::string found;
    const std::string name = "application.name = \"" + std::string(product::kDisplayName) + "\"";
    waitUntil(
        [&] {
            const std::string all = stack.pactl({"list", "sink-inputs"});
            for (std::size_t at = all.find("Sink Input #"); at != std::string::npos;) {
                const std::size_t next = all.find("Sink Input #", at + 1);
                const std::string block = all.substr(at, next - at);
                if (block.find(name) != std::string::npos)
                    found = block;
                at = next;
            }
            return !found.empty() && found.find("Sink: 4294967295\n") == std::string::npos;
        },
        std::chrono::seconds(3));
    return found;
}

TEST_P(OnEveryServer, ASoundReturnsOnceHeardAsTheProgramsAndAServerThatDiesIsNamedAtOnce)
{
    // Plays a tone on a thread of its own and, once the server lists its stream, does
    // `meanwhile` with it: what the play said, and how long it took.
    const auto playWhile = [&](const char* tone,
                               const std::function<void(std::string)>& meanwhile) {
        auto play = std::async(std::launch::async, [&] {
            const auto start = Clock::now();
            const std::string result = outcome(sound->play(tone));
            return std::pair{result, Seconds(Clock::now() - start)};
        });
        meanwhile(ourStream(stack));
        return play.get();
    };
    // The stream, as the sound settings list it: the menu entry's name and icon, and no role,
    // so that a server remembers the output a user moves it to by the program's name.
    const auto [played, took] = playWhile(kThree, [](const std::string& stream) {
        EXPECT_NE(
            stream.find("application.icon_name = \"" + std::string(product::kDesktopId) + "\""),
            std::string::npos)
            << "no stream named " << product::kDisplayName << ", or not its icon: " << stream;
        EXPECT_EQ(stream.find("media.role"), std::string::npos) << stream;
    });
    EXPECT_EQ(played, "played");
    EXPECT_GE(took, Seconds(0.75)) << "returned before the tone was heard";

    // Killed mid-tone, and then while dead: each named as it is, not taken for the output
    // stopping at the deadline.
    const std::string killed = playWhile(kZero, [&](const std::string&) { stack.kill(); }).first;
    EXPECT_TRUE(killed.starts_with(describe(PlaybackError::DeviceFailed))) << killed;
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
