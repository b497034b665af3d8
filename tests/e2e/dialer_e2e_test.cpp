// The real program on a private X server, clicked as a person would, its sound recorded from a
// private PulseAudio server and decoded by multimon-ng: kt5_dtmf, or with KT5_WINDOWS_APP_DIR
// (set by the Windows build's tests) kt5_dtmf.exe under Wine, whose ALSA driver reaches the
// same server. With KT5_INSTALLED_PROGRAM (the package checks) the first test runs that.
#include <gtest/gtest.h>
// GoogleTest comes before Xlib, whose None and Bool macros would hide functions of its own.
#include "support/child_process.h"
#include "support/files.h"
#include "support/sound_servers.h"
#include "support/x11_session.h"
#include "window/form1_description.h"
#include "window/layout.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const platform::WindowLayout kLayout = window::resolveLayout(window::form1Description());

std::string fromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

const std::string kWindowsAppDir = fromEnvironment("KT5_WINDOWS_APP_DIR");
const bool kWine = !kWindowsAppDir.empty();
const std::string kInstalledProgram = fromEnvironment("KT5_INSTALLED_PROGRAM");

std::string keysIn(const fs::path& raw)
{
    return outputOf({KT5_TESTS_DIR "/support/dtmf-keys", "-t", "raw", "-r", "8000", "-e",
                     "signed-integer", "-b", "16", "-c", "1", raw.string()},
                    {"PATH=/usr/bin:/bin"});
}

class Dialer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x11.ready()) << "Xvfb did not start";
        ASSERT_TRUE(pulse.ready()) << "PulseAudio did not start";
        std::ofstream(home / ".asoundrc") << "pcm.!default {\n"
                                          << alsaToPulseServer(pulse.socket()) << "\n}\n";
    }

    void TearDown() override
    {
        app.reset();
        if (kWine) // Wine's own processes belong to this test's X server; they end with it
            ChildProcess({"wineserver", "-k"}, environment()).waitFor(5000);
    }

    // The program's folder, as built or unpacked, copied to a folder of that name; the program.
    fs::path install(const std::string& name)
    {
        const fs::path target = appRoot / name;
        fs::copy(kWine ? kWindowsAppDir : KT5_APP_DIR, target, fs::copy_options::recursive);
        return target / (kWine ? "kt5_dtmf.exe" : "kt5_dtmf");
    }

    std::vector<std::string> environment() const
    {
        std::vector<std::string> env{"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                     "HOME=" + home.path().string(),
                                     "XDG_RUNTIME_DIR=" + home.path().string(), "LC_ALL=C.UTF-8"};
        if (kWine) // and Wine's ALSA driver, so ALSA's default device, not its PulseAudio one
            env.insert(env.end(), {"WINEPREFIX=" + fromEnvironment("KT5_WINEPREFIX"),
                                   "WINEDEBUG=-all", "WINEDLLOVERRIDES=winepulse.drv=d"});
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(sanitizer))
                env.push_back(std::string(sanitizer) + "=" + value);
        return env;
    }

    void start(const fs::path& program, std::vector<std::string> arguments = {})
    {
        arguments.insert(arguments.begin(), program.string());
        if (kWine)
            arguments.insert(arguments.begin(), "wine");
        filesBefore = files();
        recorder = pulse.record(recording, 8000);
        app = std::make_unique<ChildProcess>(
            arguments, environment(), (scratch / "stdout").string(), (scratch / "stderr").string());
        form = x11.waitForWindow(std::string(kLayout.caption), 30'000);
        ASSERT_TRUE(form.has_value()) << "the window did not appear: " << stderrText();
        x11.focus(*form); // as a window manager gives a new window the keyboard
    }

    // Clicks a button's centre. Wine draws the frame inside its X window: the client area is
    // at the bottom, centred.
    void clickButton(std::int16_t index)
    {
        int x = 0;
        int y = 0;
        if (kWine) {
            const auto [width, height] = x11.sizeOf(*form);
            x = (width - kLayout.clientWidth / 15) / 2;
            y = height - x - kLayout.clientHeight / 15;
        }
        for (const auto& c : kLayout.controls)
            if (c.index == index)
                x11.click(*form, x + (c.windowRect.left + c.windowRect.width / 2) / 15,
                          y + (c.windowRect.top + c.windowRect.height / 2) / 15);
    }

    // Closes the error box with Return once it is there, and gives the keyboard back to the
    // window, as a window manager does. False when no box came.
    bool closeBox()
    {
        const auto box = x11.waitForWindow("Error", 10'000);
        if (box) {
            x11.focus(*box);
            x11.key("Return");
            waitUntil([&] { return !x11.waitForWindow("Error", 0); }, milliseconds(5000));
            x11.focus(*form);
        }
        return box.has_value();
    }

    // What the sink played since start, as DTMF keys, once `expected` may have been heard.
    std::string keysPlayed(const std::string& expected)
    {
        waitUntil([&] { return keysIn(recording).size() >= expected.size(); },
                  milliseconds(10'000));
        std::this_thread::sleep_for(milliseconds(300)); // for a key too many to show up
        recorder.reset();
        return keysIn(recording);
    }

    std::string stderrText() const { return readBytes(scratch / "stderr"); }
    std::set<fs::path> files() const
    {
        const fs::recursive_directory_iterator all(appRoot.path());
        return {fs::begin(all), fs::end(all)};
    }

    X11Session x11;
    PulseDaemon pulse;
    TempDir home;
    TempDir appRoot;
    TempDir scratch;
    fs::path recording = scratch / "played.raw";
    std::set<fs::path> filesBefore;
    std::unique_ptr<ChildProcess> recorder;
    std::unique_ptr<ChildProcess> app;
    std::optional<unsigned long> form;
};

TEST_F(Dialer, ClicksPlayInTheirOrderSilentlyAndACloseWaitsForThemAndWritesNothing)
{
    // Were these passed on to the toolkit, the window would open off-screen in another style.
    start(kInstalledProgram.empty() ? install("Dialer") : fs::path(kInstalledProgram),
          {"-platform", "offscreen", "-style", "windows", "--help", "x"});
    clickButton(3);
    clickButton(9);
    clickButton(10);
    x11.requestClose(*form);

    EXPECT_EQ(keysPlayed("*03#*09#*10#"), "*03#*09#*10#");
    EXPECT_EQ(app->waitFor(10'000), 0) << stderrText();
    EXPECT_EQ(files(), filesBefore);
    // Wine may speak of itself; the program says nothing.
    EXPECT_EQ(stderrText().find("kt5_dtmf:"), std::string::npos) << "a tone that plays prints";
}

TEST_F(Dialer, KeyboardGoesOnAfterAMissingTonesBoxInAFolderNamedOutsideTheEncoding)
{
    // Linux: bytes that are not UTF-8. Windows: Cyrillic and a music sign, neither of them
    // in Windows-1252, Wine's ANSI code page here.
    const fs::path program = install(kWine ? "Набор тонов ♪" : "tones \xff\xfe");
    fs::remove(program.parent_path() / "05.wav");
    start(program);
    x11.key("Tab"); // to *05#, the first button of the focus order
    x11.key("space");
    ASSERT_TRUE(closeBox()) << "no box for the missing file";
    x11.key("space");
    ASSERT_TRUE(closeBox()) << "Space after the box did not reach *05#";
    x11.key("Tab");
    x11.key("space");

    EXPECT_EQ(keysPlayed("*04#"), "*04#");
    EXPECT_NE(stderrText().find("05.wav: file missing"), std::string::npos) << stderrText();
}

TEST_F(Dialer, WithoutADisplayItSaysSoInOneLineAndEnds)
{
    if (kWine)
        GTEST_SKIP() << "under Wine, Wine itself fails first";
    ChildProcess program({install("Dialer").string()},
                         {"PATH=/usr/bin:/bin", "DISPLAY=:9999", "HOME=" + home.path().string()},
                         (scratch / "stdout").string(), (scratch / "stderr").string());

    EXPECT_EQ(program.waitFor(10'000), 1);
    EXPECT_EQ(stderrText(), "kt5_dtmf: cannot open the window: could not connect to display "
                            ":9999\n");
}

} // namespace
} // namespace kt5::test
