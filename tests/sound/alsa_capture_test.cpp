// The real sound service through the real libasound, with ALSA's default device redirected
// into a WAV file: what reaches the device is exactly what was captured.
#include "platform/alsa/alsa_sound_service.h"
#include "support/alsa_redirect.h"
#include "support/param_name.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;

class CapturedPlayback : public testing::Test {
protected:
    TempDir home;
    TempDir tones;
    fs::path capture = home / "captured.wav";
    AlsaRedirect redirect{home.path(), AlsaRedirect::toWaveFile(capture)};
    platform::alsa::AlsaSoundService service;

    bool play(const fs::path& path) { return service.playFileSync(path.string()); }
};

TEST_F(CapturedPlayback, DeviceReceivesExactlyTheFilesSamplesRateAndChannels)
{
    const fs::path file = tones / "03.wav";
    const Audio source = sine(770, 0.5, 8000, 1);
    writeSound(file, source, SF_FORMAT_WAV | SF_FORMAT_PCM_16);

    ASSERT_TRUE(play(file));

    const Audio captured = readSound(capture);
    EXPECT_EQ(captured.sampleRate, 8000);
    EXPECT_EQ(captured.channels, 1);
    EXPECT_EQ(captured.samples, source.samples);
}

TEST_F(CapturedPlayback, CompressedStereoReachesTheDeviceAsDecoded)
{
    const fs::path file = tones / "07.wav";
    writeSound(file, sine(1209, 0.4, 22050, 2), SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM);

    ASSERT_TRUE(play(file));

    const Audio captured = readSound(capture);
    const Audio expected = readSound(file);
    EXPECT_EQ(captured.sampleRate, 22050);
    EXPECT_EQ(captured.channels, 2);
    EXPECT_EQ(captured.samples, expected.samples);
}

TEST_F(CapturedPlayback, AFailedFileDoesNotBlockTheNextSound)
{
    const fs::path good = tones / "01.wav";
    writeSound(good, sine(697, 0.1, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);

    EXPECT_FALSE(play(tones / "missing.wav"));
    EXPECT_TRUE(play(good));
}

// Every way a tone file can be unplayable. Each must give false at once and put nothing at
// all on the device.
struct BadInput {
    std::string name;
    std::function<void(const fs::path& file)> make;
};

std::string validWave(const fs::path& scratch)
{
    writeSound(scratch, sine(852, 0.2, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    return readBytes(scratch);
}

std::string otherContainer(const fs::path& scratch, int format)
{
    writeSound(scratch, sine(852, 0.2, 8000, 1), format);
    return readBytes(scratch);
}

const std::vector<BadInput> kBadInputs = {
    {"Missing", [](const fs::path&) {}},
    {"Empty", [](const fs::path& f) { writeBytes(f, ""); }},
    {"TruncatedHeader",
     [](const fs::path& f) { writeBytes(f, validWave(f.string() + ".src").substr(0, 30)); }},
    {"TruncatedData",
     [](const fs::path& f) {
         const std::string whole = validWave(f.string() + ".src");
         writeBytes(f, whole.substr(0, whole.size() / 2));
     }},
    {"AiffRenamed",
     [](const fs::path& f) {
         writeBytes(f, otherContainer(f.string() + ".aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16));
     }},
    {"FlacRenamed",
     [](const fs::path& f) {
         writeBytes(f, otherContainer(f.string() + ".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
     }},
    {"RiffWithoutAudio",
     [](const fs::path& f) {
         writeSound(f, Audio{8000, 1, {}}, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
     }},
    {"RandomBytes",
     [](const fs::path& f) {
         std::string noise(4096, '\0');
         unsigned state = 12345;
         for (char& c : noise)
             c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
         writeBytes(f, noise);
     }},
    {"TextFile", [](const fs::path& f) { writeBytes(f, "RIFF? no, just a note\n"); }},
    {"Directory", [](const fs::path& f) { fs::create_directory(f); }},
    {"FifoWithoutWriter", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }},
    {"DanglingSymlink", [](const fs::path& f) { fs::create_symlink("/nonexistent/x.wav", f); }},
    {"LargerThanAnyToneFile",
     [](const fs::path& f) {
         // Sparse: a valid header and then 129 MiB of holes.
         writeBytes(f, validWave(f.string() + ".src"));
         fs::resize_file(f, std::uintmax_t{129} << 20);
     }},
};

class UnplayableFile : public CapturedPlayback, public testing::WithParamInterface<BadInput> {};

TEST_P(UnplayableFile, FailsAndPlaysNothing)
{
    const fs::path file = tones / "03.wav";
    GetParam().make(file);

    EXPECT_FALSE(play(file));
    EXPECT_FALSE(fs::exists(capture)) << "the device was opened";
}

INSTANTIATE_TEST_SUITE_P(BadInputs, UnplayableFile, testing::ValuesIn(kBadInputs), ByName{});

// Runs `body` in a child process that has given up root, since root reads any file.
bool asUnprivilegedUser(const std::function<bool()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(body() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST_F(CapturedPlayback, UnreadableFileFailsAndPlaysNothing)
{
    const fs::path file = tones / "03.wav";
    writeSound(file, sine(941, 0.2, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    ASSERT_EQ(::chmod(tones.path().c_str(), 0755), 0);

    EXPECT_FALSE(asUnprivilegedUser([&] { return play(file); }));
    EXPECT_FALSE(fs::exists(capture));
}

// Output failures: the file is good but there is nowhere to play it.
struct BadOutput {
    std::string name;
    std::string pcmDefinition;
};

class UnavailableOutput : public testing::TestWithParam<BadOutput> {};

TEST_P(UnavailableOutput, FailsInsteadOfHanging)
{
    TempDir home;
    AlsaRedirect redirect(home.path(), GetParam().pcmDefinition);
    const fs::path file = home / "03.wav";
    writeSound(file, sine(941, 0.2, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);

    platform::alsa::AlsaSoundService service;
    EXPECT_FALSE(service.playFileSync(file.string()));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, UnavailableOutput,
    testing::Values(BadOutput{"NoSoundCard", "  type hw\n  card 31\n"},
                    BadOutput{"SoundServerGone", AlsaRedirect::toPulseServer("/nonexistent/s")},
                    BadOutput{"CaptureFileUnwritable",
                              AlsaRedirect::toWaveFile("/nonexistent/dir/c.wav")}),
    ByName{});

} // namespace
} // namespace kt5::test
