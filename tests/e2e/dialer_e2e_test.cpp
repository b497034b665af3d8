// The real kt5_dtmf executable on a real X server, clicked with real pointer events, its sound
// recorded from a private PulseAudio server and decoded by multimon-ng.
#include "support/alsa_redirect.h"
#include "support/child_process.h"
#include "support/dtmf_decoder.h"
#include "support/pulse_daemon.h"
#include "support/temp_dir.h"
#include "support/x11_session.h"
#include "window/form1_description.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <set>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;

const std::string kCaption = "KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)";
constexpr int kRecordRate = 8000;

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::set<fs::path> filesUnder(const fs::path& dir) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        files.insert(entry.path());
    return files;
}

// The centre of button `index` in window pixels, from the window's own description.
std::pair<int, int> centreOfButton(std::int16_t index) {
    const auto& d = window::form1Description();
    for (const auto& c : d.controls) {
        if (c.name != "Command1" || c.index != index)
            continue;
        int left = c.rect.left;
        int top = c.rect.top;
        for (const auto& p : d.controls)
            if (!c.parent.empty() && p.name == c.parent) {
                left += p.rect.left;
                top += p.rect.top;
            }
        return {(left + c.rect.width / 2) / 15, (top + c.rect.height / 2) / 15};
    }
    return {-1, -1};
}

class Dialer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x11.ready()) << "Xvfb did not start";
        ASSERT_TRUE(pulse.ready()) << "PulseAudio did not start";
        fs::copy_file(KT5_DTMF_EXE, appDir / "kt5_dtmf");
        for (const auto& entry : fs::directory_iterator(KT5_TONE_DIR))
            if (entry.path().extension() == ".wav")
                fs::copy_file(entry.path(), appDir / entry.path().filename());
        std::ofstream(home / ".asoundrc") << "pcm.!default {\n"
                                          << AlsaRedirect::toPulseServer(pulse.socket()) << "}\n";
    }

    void start(std::vector<std::string> arguments = {}) {
        appFilesBefore = filesUnder(appDir.path());
        homeFilesBefore = filesUnder(home.path());
        recorder = pulse.record(recording, kRecordRate);
        arguments.insert(arguments.begin(), (appDir / "kt5_dtmf").string());
        app = std::make_unique<ChildProcess>(
            arguments,
            std::vector<std::string>{"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                     "HOME=" + home.path().string(),
                                     "XDG_RUNTIME_DIR=" + runtime.path().string(), "LC_ALL=C"},
            (scratch / "kt5_dtmf.log").string());
        form = x11.waitForWindow(kCaption, 10'000);
        ASSERT_TRUE(form.has_value()) << "the window did not appear";
    }

    void clickButton(std::int16_t index) {
        const auto [x, y] = centreOfButton(index);
        x11.click(*form, x, y);
    }

    // What the sink played since start, as DTMF keys, once at least as many keys as
    // `expected` holds have been heard (the recorder delivers in blocks of up to a second or
    // two), or after ten seconds.
    std::string keysPlayed(const std::string& expected) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (dtmfKeysInRaw(recording, kRecordRate).size() < expected.size() &&
               std::chrono::steady_clock::now() < deadline)
            pause(250);
        pause(300);
        recorder.reset();
        return dtmfKeysInRaw(recording, kRecordRate);
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

TEST_F(Dialer, ClickPlaysExactlyThatCommandsSequence) {
    start();
    clickButton(3);

    EXPECT_EQ(keysPlayed("*03#"), "*03#");
}

TEST_F(Dialer, QuickClicksPlayOneAfterAnotherInClickOrder) {
    start();
    clickButton(1);
    pause(60);
    clickButton(9);
    pause(60);
    clickButton(10);

    EXPECT_EQ(keysPlayed("*01#*09#*10#"), "*01#*09#*10#");
}

TEST_F(Dialer, MissingToneFileShowsTheErrorBoxAndTheWindowWorksAfterwards) {
    fs::remove(appDir / "05.wav");
    start();

    clickButton(5);
    const auto box = x11.waitForWindow("Error", 5000);
    ASSERT_TRUE(box.has_value()) << "no window titled Error";
    clickButton(7); // the box is modal: this click is dropped, not played later
    pause(300);
    x11.requestClose(*box);
    pause(300);
    EXPECT_FALSE(x11.windowExists("Error"));
    clickButton(6);

    // Had the click given while the box was open been kept, "*07#" would come first.
    EXPECT_EQ(keysPlayed("*06#"), "*06#");
}

TEST_F(Dialer, ClosingTheWindowEndsTheProgramWithStatusZeroAndWritesNothing) {
    start();
    x11.requestClose(*form);

    EXPECT_EQ(app->waitFor(5000), 0);
    EXPECT_EQ(filesUnder(appDir.path()), appFilesBefore);
    EXPECT_EQ(filesUnder(home.path()), homeFilesBefore);
}

TEST_F(Dialer, CloseRequestedDuringAToneTakesEffectAfterIt) {
    start();
    clickButton(8);
    pause(100);
    x11.requestClose(*form);

    EXPECT_EQ(keysPlayed("*08#"), "*08#");
    EXPECT_EQ(app->waitFor(5000), 0);
}

TEST_F(Dialer, ArgumentsChangeNothing) {
    // Were these passed on to the toolkit, the window would open off-screen in another style.
    start({"-platform", "offscreen", "-style", "windows", "--help", "/nonexistent"});
    clickButton(0);
    EXPECT_EQ(keysPlayed("*00#"), "*00#");

    x11.requestClose(*form);
    EXPECT_EQ(app->waitFor(5000), 0);
}

} // namespace
} // namespace kt5::test
