#include "fakes/fake_platform_services.h"
#include "fakes/fake_sound_service.h"
#include "support/param_name.h"
#include "tones/tone_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace kt5::test {
namespace {

using tones::CommandIndex;
using tones::ToneCommands;

struct PathCase {
    std::string name;
    std::string directory;
    CommandIndex index;
    std::string expectedPath;
};

class ToneCommandPath : public testing::TestWithParam<PathCase> {};

TEST_P(ToneCommandPath, PlaysTheCommandsFileFromTheApplicationDirectory)
{
    FakePlatformServices platform(native(GetParam().directory));
    FakeSoundService sound;
    ToneCommands commands(platform, sound);

    const CommandIndex index = GetParam().index;
    commands.Command1_Click(index);

    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played.front(), native(GetParam().expectedPath));
    EXPECT_TRUE(platform.boxes.empty());
}

std::vector<PathCase> everyCommandIn(const std::string& name, const std::string& directory,
                                     const std::string& prefix)
{
    const char* files[] = {"00.wav", "01.wav", "02.wav", "03.wav", "04.wav", "05.wav",
                           "06.wav", "07.wav", "08.wav", "09.wav", "10.wav"};
    std::vector<PathCase> cases;
    for (CommandIndex i = 0; i <= 10; ++i)
        cases.push_back({name + "_" + std::to_string(i), directory, i, prefix + files[i]});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, ToneCommandPath,
                         testing::ValuesIn(everyCommandIn("Dir", "/opt/kt5", "/opt/kt5/")),
                         ByName{});

INSTANTIATE_TEST_SUITE_P(Directories, ToneCommandPath,
                         testing::Values(PathCase{"RootDirectory", "/", 3, "/03.wav"},
                                         PathCase{"RootDirectoryLastCommand", "/", 10, "/10.wav"},
                                         PathCase{"DriveRoot", "D:/", 10, "D:/10.wav"},
                                         PathCase{"NestedDirectory", "/home/ann/Tools/Dialer", 5,
                                                  "/home/ann/Tools/Dialer/05.wav"},
                                         PathCase{"DirectoryWithSpacesAndUtf8",
                                                  "/home/ann/Téléphone 2", 1,
                                                  "/home/ann/Téléphone 2/01.wav"},
                                         PathCase{"DirectoryWithTrailingSeparatorKeepsOne",
                                                  "/srv/kt5/", 7, "/srv/kt5/07.wav"}),
                         ByName{});

TEST(ToneCommands, FailedPlaybackShowsOneExclamationBoxAndNothingElse)
{
    FakePlatformServices platform;
    FakeSoundService sound;
    sound.result = false;
    ToneCommands commands(platform, sound);

    const CommandIndex index = 4;
    commands.Command1_Click(index);

    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Error playing DTMF tone");
    EXPECT_EQ(platform.boxes[0].title, "Error");
    EXPECT_EQ(platform.boxes[0].style, 48); // MB_OK | MB_ICONEXCLAMATION
    EXPECT_EQ(sound.played.size(), 1u) << "a failed tone is not retried";
}

TEST(ToneCommands, KeepsNoStateBetweenClicks)
{
    FakePlatformServices platform;
    FakeSoundService sound;
    ToneCommands commands(platform, sound);

    sound.result = false;
    commands.Command1_Click(2);
    sound.result = true;
    commands.Command1_Click(2);
    commands.Command1_Click(2);

    EXPECT_EQ(platform.boxes.size(), 1u) << "only the failed click reports";
    ASSERT_EQ(sound.played.size(), 3u) << "the same button twice plays twice";
    EXPECT_EQ(sound.played[2], native("/opt/kt5/02.wav"));
}

TEST(ToneCommands, IndexOutsideTheTableDoesNothing)
{
    FakePlatformServices platform;
    FakeSoundService sound;
    ToneCommands commands(platform, sound);

    for (const CommandIndex index : {CommandIndex{-1}, CommandIndex{11}, CommandIndex{99}})
        commands.Command1_Click(index);

    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

} // namespace
} // namespace kt5::test
