// The real sound service through the real libasound, with ALSA's default device redirected
// into a WAV file: what reaches the device is exactly what was captured, and every way a
// tone file or an output can fail gives its own reason and puts nothing on the device.
#include "platform/alsa/alsa_sound_service.h"
#include "support/alsa_redirect.h"
#include "support/param_name.h"
#include "support/printers.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using platform::PlaybackError;

class CapturedPlayback : public testing::Test {
protected:
    void SetUp() override { redirectAlsaDefault(home.path(), alsaToWaveFile(capture)); }

    TempDir home;
    TempDir tones;
    fs::path capture = home / "captured.wav";
    platform::alsa::AlsaSoundService service;

    platform::PlaybackResult play(const fs::path& path) { return service.play(path.string()); }
};

struct Recording {
    std::string name;
    int format;
    int sampleRate;
    int channels;
};

class DeviceReceives : public CapturedPlayback, public testing::WithParamInterface<Recording> {};

TEST_P(DeviceReceives, ExactlyTheDecodedSamplesAtTheFilesRateAndChannels)
{
    const fs::path file = tones / "03.wav";
    const auto& r = GetParam();
    writeSound(file, sine(770, 0.4, r.sampleRate, r.channels), r.format);

    ASSERT_TRUE(play(file).played());

    const Audio captured = readSound(capture);
    EXPECT_EQ(captured.sampleRate, r.sampleRate);
    EXPECT_EQ(captured.channels, r.channels);
    EXPECT_EQ(captured.samples, readSound(file).samples);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DeviceReceives,
    testing::Values(Recording{"Pcm16Mono", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1},
                    Recording{"ImaAdpcmStereo", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 22050, 2}),
    ByName{});

// Every way a tone file can be unplayable.
struct BadInput {
    std::string name;
    std::function<void(const fs::path& file)> make;
    PlaybackError reason;
};

std::string validWave(const fs::path& scratch, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    writeSound(scratch, sine(852, 0.2, 8000, 1), format);
    return readBytes(scratch);
}

std::string withNaN(const fs::path& scratch)
{
    std::string bytes = validWave(scratch, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const float nan = NAN;
    bytes.replace(bytes.size() - 8, sizeof nan, reinterpret_cast<const char*>(&nan), sizeof nan);
    return bytes;
}

const std::vector<BadInput> kBadInputs = {
    {"Missing", [](const fs::path&) {}, PlaybackError::FileMissing},
    {"DanglingSymlink", [](const fs::path& f) { fs::create_symlink("/nonexistent/x.wav", f); },
     PlaybackError::FileMissing},
    {"Directory", [](const fs::path& f) { fs::create_directory(f); },
     PlaybackError::NotRegularFile},
    {"FifoWithoutWriter", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); },
     PlaybackError::NotRegularFile},
    {"Empty", [](const fs::path& f) { writeBytes(f, ""); }, PlaybackError::Empty},
    {"LargerThanAnyToneFile",
     [](const fs::path& f) {
         writeBytes(f, validWave(f.string() + ".src"));
         fs::resize_file(f, std::uintmax_t{129} << 20); // sparse
     },
     PlaybackError::TooLarge},
    {"EightBitAudioThatWouldDecodeBeyondTheCeiling",
     [](const fs::path& f) {
         std::string header = validWave(f.string() + ".src", SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
         const std::uint32_t dataBytes = (std::uint32_t{32} << 20) + 16;
         header.resize(44);
         for (std::size_t i = 0; i < 4; ++i)
             header[40 + i] = static_cast<char>((dataBytes >> (8 * i)) & 0xFF);
         writeBytes(f, header);
         fs::resize_file(f, 44 + dataBytes);
     },
     PlaybackError::TooLarge},
    {"TextFile", [](const fs::path& f) { writeBytes(f, "RIFF? no, just a note\n"); },
     PlaybackError::NotRiffWave},
    {"AiffRenamed",
     [](const fs::path& f) {
         writeBytes(f, validWave(f.string() + ".aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16));
     },
     PlaybackError::NotRiffWave},
    {"RiffWithoutAudio",
     [](const fs::path& f) {
         writeSound(f, Audio{8000, 1, {}}, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
     },
     PlaybackError::NotRiffWave},
    {"TruncatedHeader",
     [](const fs::path& f) { writeBytes(f, validWave(f.string() + ".src").substr(0, 30)); },
     PlaybackError::DataCutShort},
    {"TruncatedData",
     [](const fs::path& f) {
         const std::string whole = validWave(f.string() + ".src");
         writeBytes(f, whole.substr(0, whole.size() / 2));
     },
     PlaybackError::DataCutShort},
    {"SampleThatIsNotANumber",
     [](const fs::path& f) { writeBytes(f, withNaN(f.string() + ".src")); },
     PlaybackError::CodecError},
};

class UnplayableFile : public CapturedPlayback, public testing::WithParamInterface<BadInput> {};

TEST_P(UnplayableFile, FailsWithItsReasonAndPlaysNothing)
{
    const fs::path file = tones / "03.wav";
    GetParam().make(file);

    EXPECT_EQ(play(file).error, GetParam().reason);
    EXPECT_FALSE(fs::exists(capture)) << "the device was opened";
}

INSTANTIATE_TEST_SUITE_P(BadInputs, UnplayableFile, testing::ValuesIn(kBadInputs), ByName{});

TEST_F(CapturedPlayback, UnreadableFileFailsAsSuchAndTheNextFilePlays)
{
    const fs::path file = tones / "03.wav";
    writeSound(file, sine(941, 0.2, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    ASSERT_EQ(::chmod(tones.path().c_str(), 0755), 0);

    // In a child that has given up root, since root reads any file.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(play(file).error == PlaybackError::Unreadable ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(capture));

    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    EXPECT_TRUE(play(file).played()) << "a failure kept the output";
}

// Good files with nowhere to play them: the output's own words come back as the detail.
struct BadOutput {
    std::string name;
    std::string pcmDefinition;
    PlaybackError reason;
};

class UnavailableOutput : public testing::TestWithParam<BadOutput> {};

TEST_P(UnavailableOutput, FailsAtOnceSayingWhy)
{
    TempDir home;
    redirectAlsaDefault(home.path(), GetParam().pcmDefinition);
    const fs::path file = home / "03.wav";
    writeSound(file, sine(941, 0.2, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);

    const auto result = platform::alsa::AlsaSoundService().play(file.string());

    EXPECT_EQ(result.error, GetParam().reason);
    EXPECT_FALSE(result.detail.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Devices, UnavailableOutput,
    testing::Values(BadOutput{"NoSoundCard", "type hw\ncard 31", PlaybackError::DeviceNotOpened},
                    BadOutput{"SoundServerGone", alsaToPulseServer("/nonexistent/s"),
                              PlaybackError::DeviceNotOpened},
                    BadOutput{"CaptureFileUnwritable", alsaToWaveFile("/nonexistent/dir/c.wav"),
                              PlaybackError::DeviceFailed}),
    ByName{});

// A null backend: the service given libraries that are not there.
TEST(NullBackend, MissingLibraryIsReportedWithTheLoadersWords)
{
    platform::alsa::AlsaSoundService service([]() -> const platform::alsa::AudioLibraries& {
        static const platform::alsa::AudioLibraries none{
            {nullptr, "libsndfile.so.1: cannot open shared object file"}, {}};
        return none;
    });
    const auto result = service.play("/nonexistent/01.wav");
    EXPECT_EQ(result.error, PlaybackError::LibraryMissing);
    EXPECT_EQ(result.detail, "libsndfile.so.1: cannot open shared object file");
}

} // namespace
} // namespace kt5::test
