// The click handler with fake services: which file a click plays, and what the user and the
// error output are told when it cannot be played; and the lines of that output.
#include "os/diagnostics.h"
#include "platform/desktop_services.h"
#include "platform/sound_service.h"
#include "testing/files.h"
#include "tones/tone_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kt5::test {
namespace {

using platform::PlaybackError;

// Records message boxes and error lines instead of showing them.
class FakeDesktopServices final : public platform::DesktopServices {
public:
    struct Box {
        std::string text;
        std::string title;
        platform::MessageIcon icon;
    };

    void messageBox(std::string_view text, std::string_view title,
                    platform::MessageIcon icon) override
    {
        boxes.push_back({std::string(text), std::string(title), icon});
    }
    platform::NativeString applicationDirectory() override { return directory; }
    void reportError(std::string_view line) override { errors.emplace_back(line); }

    platform::NativeString directory = platform::nativeFromAscii("/opt/kt5");
    std::vector<Box> boxes;
    std::vector<std::string> errors;
};

// Records the paths it is asked to play and answers with a preset result.
class FakeSoundService final : public platform::SoundService {
public:
    platform::PlaybackResult play(const platform::NativeString& path) override
    {
        played.push_back(path);
        return result;
    }

    platform::PlaybackResult result;
    std::vector<platform::NativeString> played;
};

// A path written with "/" in UTF-8, as the platform writes it ("\" on Windows).
platform::NativeString native(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).make_preferred().native();
}

class ToneCommandsTest : public testing::Test {
protected:
    FakeDesktopServices platform;
    FakeSoundService sound;
    tones::ToneCommandHandler commands{platform, sound};
};

TEST_F(ToneCommandsTest, PlaysTheCommandsFileFromTheApplicationDirectoryAndSaysNothing)
{
    const struct {
        const char* directory;
        tones::CommandIndex index;
        const char* path;
    } rows[] = {{"/opt/kt5", 0, "/opt/kt5/00.wav"},
                {"/opt/kt5", 10, "/opt/kt5/10.wav"},
                {"/srv/kt5/", 7, "/srv/kt5/07.wav"}}; // one separator, not two
    std::vector<platform::NativeString> expected;
    for (const auto& row : rows) {
        platform.directory = native(row.directory);
        commands.Command1_Click(row.index);
        expected.push_back(native(row.path));
    }
    commands.Command1_Click(11); // no button's: nothing to play
    EXPECT_EQ(sound.played, expected);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(platform.errors.empty()) << "a tone that plays prints nothing";
}

TEST_F(ToneCommandsTest, FailedToneOrUnknownDirectoryShowsOneExclamationBoxAndSaysWhyInOneLine)
{
    platform.directory = native("/home/ann/Téléphone 2");
    sound.result = platform::PlaybackFailure{PlaybackError::DeviceNotOpened, "Connection refused"};
    commands.Command1_Click(4);

    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Error playing DTMF tone");
    EXPECT_EQ(platform.boxes[0].title, "Error");
    EXPECT_EQ(platform.boxes[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(sound.played.size(), 1u) << "a failed tone is not retried";
    // The path in UTF-8, whatever the platform's own encoding.
    const std::u8string path = std::filesystem::path(sound.played.at(0)).u8string();
    EXPECT_EQ(platform.errors,
              std::vector<std::string>{"cannot play " + std::string(path.begin(), path.end()) +
                                       ": sound output not opened (Connection refused)"});

    // Without its own directory, the box, not a file looked for elsewhere.
    platform.directory.clear();
    commands.Command1_Click(3);
    EXPECT_EQ(sound.played.size(), 1u) << "played from the root or the working directory";
    EXPECT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.errors.back(), "cannot play 03.wav: the program's own directory is unknown");
}

TEST(Diagnostics, EveryLineOfAMessageIsOneOfTheProgramsOwn)
{
    testing::internal::CaptureStderr();
    platform::os::printDiagnostic("cannot play 03.wav: file missing");
    platform::os::printDiagnostic("first\nsecond\n\nthird\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kt5_dtmf: cannot play 03.wav: file missing\nkt5_dtmf: first\nkt5_dtmf: second\n"
              "kt5_dtmf: third\n");
}

// Every reason, up to the first that is unknown so that a new one counts, as users look it up.
TEST(Reasons, EachIsExplainedInTheManualPageAndTheReadme)
{
    for (const std::string document : {"/resources/man/kt5_dtmf.1.in", "/README.md"})
        for (int i = 0; describe(PlaybackError(i)) != "unknown failure"; ++i)
            EXPECT_NE(readBytes(KT5_SOURCE_DIR + document).find(describe(PlaybackError(i))),
                      std::string::npos)
                << document << " leaves out " << describe(PlaybackError(i));
}

} // namespace
} // namespace kt5::test
