// The real kt5_dtmf executable on a real X server, clicked with real pointer events, its sound
// recorded from a private PulseAudio server and decoded by multimon-ng.
#include "e2e/e2e_support.h"
#include "support/alsa_redirect.h"
#include "support/child_process.h"
#include "support/pulse_daemon.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"
#include "support/x11_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;

const std::string kCaption = "KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)";
constexpr int kRecordRate = 8000;

class Dialer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x11.ready()) << "Xvfb did not start";
        ASSERT_TRUE(pulse.ready()) << "PulseAudio did not start";
        fs::copy_file(KT5_DTMF_EXE, appDir / "kt5_dtmf");
        for (const auto& entry : fs::directory_iterator(KT5_TONE_DIR))
            if (entry.path().extension() == ".wav")
                fs::copy_file(entry.path(), appDir / entry.path().filename());
        std::ofstream(home / ".asoundrc") << "pcm.!default {\n"
                                          << AlsaRedirect::toPulseServer(pulse.socket()) << "}\n";
    }

    void TearDown() override
    {
        if (HasFailure()) // what the program said helps more than the assertion alone
            std::printf("kt5_dtmf said:\n%s\n", readBytes(scratch / "kt5_dtmf.log").c_str());
    }

    void start(std::vector<std::string> arguments = {})
    {
        appFilesBefore = filesUnder(appDir.path());
        homeFilesBefore = filesUnder(home.path());
        recorder = pulse.record(recording, kRecordRate);
        arguments.insert(arguments.begin(), (appDir / "kt5_dtmf").string());
        std::vector<std::string> env{"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                     "HOME=" + home.path().string(),
                                     "XDG_RUNTIME_DIR=" + runtime.path().string(), "LC_ALL=C"};
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(sanitizer))
                env.push_back(std::string(sanitizer) + "=" + value);
        app = std::make_unique<ChildProcess>(arguments, env, (scratch / "kt5_dtmf.log").string());
        form = x11.waitForWindow(kCaption, 10'000);
        ASSERT_TRUE(form.has_value()) << "the window did not appear";
    }

    void clickButton(std::int16_t index)
    {
        const auto [x, y] = centreOfButton(index);
        x11.click(*form, x, y);
    }

    // What the sink played since start, as DTMF keys (see keysRecorded).
    std::string keysPlayed(const std::string& expected)
    {
        return keysRecorded(recorder, recording, kRecordRate, expected);
    }

    X11Session x11;
    PulseDaemon pulse;
    TempDir appDir;
    TempDir home;
    TempDir runtime;
    TempDir scratch;
    fs::path recording = scratch / "played.raw";
    std::set<fs::path> appFilesBefore;
    std::set<fs::path> homeFilesBefore;
    std::unique_ptr<ChildProcess> recorder;
    std::unique_ptr<ChildProcess> app;
    std::optional<unsigned long> form;
};

TEST_F(Dialer, ClickPlaysExactlyThatCommandsSequence)
{
    start();
    clickButton(3);

    EXPECT_EQ(keysPlayed("*03#"), "*03#");
}

TEST_F(Dialer, QuickClicksPlayOneAfterAnotherInClickOrder)
{
    start();
    clickButton(1);
    pauseMs(60);
    clickButton(9);
    pauseMs(60);
    clickButton(10);

    EXPECT_EQ(keysPlayed("*01#*09#*10#"), "*01#*09#*10#");
}

TEST_F(Dialer, MissingToneFileShowsTheErrorBoxAndTheWindowWorksAfterwards)
{
    fs::remove(appDir / "05.wav");
    start();

    clickButton(5);
    const auto box = x11.waitForWindow("Error", 5000);
    ASSERT_TRUE(box.has_value()) << "no window titled Error";
    clickButton(7); // the box is modal: this click is dropped, not played later
    pauseMs(300);
    x11.requestClose(*box);
    pauseMs(300);
    EXPECT_FALSE(x11.windowExists("Error"));
    clickButton(6);

    // Had the click given while the box was open been kept, "*07#" would come first.
    EXPECT_EQ(keysPlayed("*06#"), "*06#");
}

TEST_F(Dialer, ClosingTheWindowEndsTheProgramWithStatusZeroAndWritesNothing)
{
    start();
    x11.requestClose(*form);

    EXPECT_EQ(app->waitFor(5000), 0);
    EXPECT_EQ(filesUnder(appDir.path()), appFilesBefore);
    EXPECT_EQ(filesUnder(home.path()), homeFilesBefore);
}

TEST_F(Dialer, CloseRequestedDuringAToneTakesEffectAfterIt)
{
    start();
    clickButton(8);
    pauseMs(100);
    x11.requestClose(*form);

    EXPECT_EQ(keysPlayed("*08#"), "*08#");
    EXPECT_EQ(app->waitFor(5000), 0);
}

TEST_F(Dialer, ArgumentsChangeNothing)
{
    // Were these passed on to the toolkit, the window would open off-screen in another style.
    start({"-platform", "offscreen", "-style", "windows", "--help", "/nonexistent"});
    clickButton(0);
    EXPECT_EQ(keysPlayed("*00#"), "*00#");

    x11.requestClose(*form);
    EXPECT_EQ(app->waitFor(5000), 0);
}

} // namespace
} // namespace kt5::test
