// The click handler with fake services: which file a click plays, and what the user and the
// error output are told when it cannot be played.
#include "fakes/fake_services.h"
#include "support/param_name.h"
#include "tones/tone_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kt5::test {
namespace {

using platform::PlaybackError;

// A path written with "/" in UTF-8, as the platform writes it ("\" on Windows).
platform::NativeString native(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).make_preferred().native();
}

class ToneCommandsTest : public testing::Test {
protected:
    FakePlatformServices platform;
    FakeSoundService sound;
    tones::ToneCommands commands{platform, sound};
};

struct PathCase {
    std::string name;
    std::string directory;
    tones::CommandIndex index;
    std::string expectedPath;
};

class ToneCommandPath : public ToneCommandsTest, public testing::WithParamInterface<PathCase> {};

TEST_P(ToneCommandPath, PlaysTheCommandsFileFromTheApplicationDirectoryAndSaysNothing)
{
    platform.directory = native(GetParam().directory);
    commands.Command1_Click(GetParam().index);

    EXPECT_EQ(sound.played, std::vector{native(GetParam().expectedPath)});
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(platform.errors.empty()) << "a tone that plays prints nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Directories, ToneCommandPath,
    testing::Values(PathCase{"FirstCommand", "/opt/kt5", 0, "/opt/kt5/00.wav"},
                    PathCase{"LastCommand", "/opt/kt5", 10, "/opt/kt5/10.wav"},
                    PathCase{"RootDirectoryGetsOneSeparator", "/", 3, "/03.wav"},
                    PathCase{"TrailingSeparatorIsKept", "/srv/kt5/", 7, "/srv/kt5/07.wav"}),
    ByName{});

TEST_F(ToneCommandsTest, FailedToneShowsOneExclamationBoxAndSaysWhyInOneLine)
{
    platform.directory = native("/home/ann/Téléphone 2");
    sound.result = {PlaybackError::DeviceNotOpened, "Connection refused"};
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
}

TEST_F(ToneCommandsTest, UnknownDirectoryShowsTheBoxInsteadOfLookingElsewhere)
{
    platform.directory.clear();
    commands.Command1_Click(3);

    EXPECT_TRUE(sound.played.empty()) << "played from the root or the working directory";
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"cannot play 03.wav: the program's own "
                                                        "directory is unknown"});
}

TEST_F(ToneCommandsTest, IndexesNoButtonHasAreIgnored)
{
    for (const int index : {-1, 11})
        commands.Command1_Click(static_cast<tones::CommandIndex>(index));
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

} // namespace
} // namespace kt5::test
