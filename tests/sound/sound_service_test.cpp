// What every sound service refuses before any sound, on both platforms (Linux, and Windows
// under Wine): each bad tone file fails with its own reason, the same on both. On Linux the
// service's policy runs over an output that notes what reaches it: nothing may. (PlaySound is
// not called for a refused file either, but nothing outside it can see whether it was.)
#include "sound/playback.h"

#ifndef _WIN32
#include "fakes/null_output.h"
#include "policy/playback_policy.h"
#endif

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

void write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

using RefusedBeforeAnySound = testing::TestWithParam<RefusedFile>;

TEST_P(RefusedBeforeAnySound, WithItsOwnReasonAndNothingReachesTheOutput)
{
    const fs::path file = fs::path(testing::TempDir()) / ("kt5-" + GetParam().name + ".wav");
    GetParam().make(file);
#ifdef _WIN32
    const platform::PlaybackResult result = newService()->play(file.native());
#else
    const auto output = std::make_shared<NullOutput>();
    const platform::PlaybackResult result =
        platform::policy::createPolicedService(output)->play(file.native());
    EXPECT_EQ(output->calls, 0) << "a refused file reached the output";
#endif
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
        RefusedFile{"Empty", [](const fs::path& f) { write(f, ""); }, PlaybackError::Empty},
        RefusedFile{"Text", [](const fs::path& f) { write(f, "RIFF? no, just a note\n"); },
                    PlaybackError::NotRiffWave},
        RefusedFile{"RiffWithoutAudio", [](const fs::path& f) { write(f, waveFile(0)); },
                    PlaybackError::NotRiffWave},
        RefusedFile{"TruncatedHeader", [](const fs::path& f) { write(f, kTone.substr(0, 30)); },
                    PlaybackError::DataCutShort},
        // The file holds half the sound its header claims: never half a command.
        RefusedFile{"TruncatedData",
                    [](const fs::path& f) { write(f, kTone.substr(0, kTone.size() / 2)); },
                    PlaybackError::DataCutShort},
        // A valid header over 1.9 GB: played, it would hold the window for a day.
        RefusedFile{"LargerThanAnyToneFile",
                    [](const fs::path& f) {
                        write(f, waveFile(0.4, 0x72000000u));
                        fs::resize_file(f, 0x72000000u + 44);
                    },
                    PlaybackError::TooLarge},
        // Within the size limit, but its header says it lasts over an hour.
        RefusedFile{"LongerThanAnyToneFile",
                    [](const fs::path& f) {
                        write(f, waveFile(0.4, 64'000'000u));
                        fs::resize_file(f, 64'000'000u + 44);
                    },
                    PlaybackError::TooLarge}),
    [](const auto& row) { return row.param.name; }); // a failure names its row

} // namespace
} // namespace kt5::test
