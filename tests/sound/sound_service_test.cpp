// What every sound service refuses before any sound, on Linux and on Windows under Wine: each
// bad tone file, with its own reason, the same on both.
#include "sound/playback.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using platform::PlaybackError;

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
    const fs::path file = fs::path(testing::TempDir()) / ("kt5-" + GetParam().name + ".wav");
    GetParam().make(file);
    const platform::PlaybackResult result = newService()->play(file.native());
    fs::remove_all(file);
    EXPECT_EQ(failureOf(result), GetParam().reason) << outcome(result);
}

const std::string kTone = waveFile(0.4);

INSTANTIATE_TEST_SUITE_P(
    BadFiles, RefusedBeforeAnySound,
    testing::Values(
        RefusedFile{"Missing", [](const fs::path&) {}, PlaybackError::FileMissing},
        RefusedFile{"Directory", [](const fs::path& f) { fs::create_directory(f); },
                    PlaybackError::NotRegularFile},
        RefusedFile{"Empty", file(""), PlaybackError::Empty},
        RefusedFile{"Text", file("RIFF? no, just a note\n"), PlaybackError::NotRiffWave},
        RefusedFile{"RiffWithoutAudio", file(waveFile(0)), PlaybackError::NotRiffWave},
        RefusedFile{"TruncatedHeader", file(kTone.substr(0, 30)), PlaybackError::DataCutShort},
        // The file holds half the sound its header claims: never half a command.
        RefusedFile{"TruncatedData", file(kTone.substr(0, kTone.size() / 2)),
                    PlaybackError::DataCutShort},
        // A valid header over 1.9 GB: played, it would hold the window for a day.
        RefusedFile{"LargerThanAnyToneFile", file(waveFile(0.4, 0x72000000u), 0x72000000u + 44),
                    PlaybackError::TooLarge},
        // Within the size limit, but its header says it lasts over an hour.
        RefusedFile{"LongerThanAnyToneFile", file(waveFile(0.4, 64'000'000u), 64'000'000u + 44),
                    PlaybackError::TooLarge}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

} // namespace
} // namespace kt5::test
