// The click handler with fake services: which file a click plays, and what the user and the
// error output are told when it cannot be played.
#include "fakes/fake_platform_services.h"
#include "fakes/fake_sound_service.h"
#include "support/param_name.h"
#include "tones/tone_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kt5::test {
namespace {

using platform::PlaybackError;
using tones::CommandIndex;

// A path written with "/" in UTF-8, as the platform writes it ("\" on Windows).
platform::NativeString native(std::string_view utf8)
{
    std::filesystem::path path(std::u8string(utf8.begin(), utf8.end()));
    return path.make_preferred().native();
}

class ToneCommandsTest : public testing::Test {
protected:
    void click(CommandIndex index) { commands.Command1_Click(index); }

    FakePlatformServices platform;
    FakeSoundService sound;
    tones::ToneCommands commands{platform, sound};
};

struct PathCase {
    std::string name;
    std::string directory;
    CommandIndex index;
    std::string expectedPath;
};

class ToneCommandPath : public ToneCommandsTest, public testing::WithParamInterface<PathCase> {};

TEST_P(ToneCommandPath, PlaysTheCommandsFileFromTheApplicationDirectoryAndSaysNothing)
{
    platform.directory = native(GetParam().directory);
    click(GetParam().index);

    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played.front(), native(GetParam().expectedPath));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(platform.errors.empty()) << "a tone that plays prints nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Directories, ToneCommandPath,
    testing::Values(PathCase{"FirstCommand", "/opt/kt5", 0, "/opt/kt5/00.wav"},
                    PathCase{"LastCommand", "/opt/kt5", 10, "/opt/kt5/10.wav"},
                    PathCase{"RootDirectoryGetsOneSeparator", "/", 3, "/03.wav"},
                    PathCase{"TrailingSeparatorIsKept", "/srv/kt5/", 7, "/srv/kt5/07.wav"},
                    PathCase{"DirectoryWithSpacesAndUtf8", "/home/ann/Téléphone 2", 1,
                             "/home/ann/Téléphone 2/01.wav"}),
    ByName{});

TEST_F(ToneCommandsTest, FailedToneShowsOneExclamationBoxAndSaysWhyOnce)
{
    platform.directory = native("/opt/kt5");
    sound.result = {PlaybackError::DeviceNotOpened, "Connection refused"};
    click(4);

    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Error playing DTMF tone");
    EXPECT_EQ(platform.boxes[0].title, "Error");
    EXPECT_EQ(platform.boxes[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(sound.played.size(), 1u) << "a failed tone is not retried";
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_NE(platform.errors[0].find("04.wav"), std::string::npos) << platform.errors[0];
    EXPECT_NE(platform.errors[0].find("sound output not opened (Connection refused)"),
              std::string::npos)
        << platform.errors[0];
}

TEST_F(ToneCommandsTest, UnknownDirectoryShowsTheBoxInsteadOfLookingElsewhere)
{
    platform.directory.clear();
    click(3);

    EXPECT_TRUE(sound.played.empty()) << "played from the root or the working directory";
    EXPECT_EQ(platform.boxes.size(), 1u);
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_NE(platform.errors[0].find("03.wav"), std::string::npos);
}

TEST_F(ToneCommandsTest, KeepsNoStateBetweenClicks)
{
    sound.result = {PlaybackError::FileMissing, {}};
    click(2);
    sound.result = {};
    click(2);
    click(2);

    EXPECT_EQ(platform.boxes.size(), 1u) << "only the failed click reports";
    EXPECT_EQ(sound.played.size(), 3u) << "the same button twice plays twice";
}

TEST_F(ToneCommandsTest, IndexOutsideTheTableDoesNothing)
{
    for (const CommandIndex index : {CommandIndex{-1}, CommandIndex{11}, CommandIndex{99}})
        click(index);

    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

} // namespace
} // namespace kt5::test
