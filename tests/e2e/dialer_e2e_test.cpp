// The real program on a private X server, driven as a person would (XTEST clicks and keys),
// its sound recorded from a private PulseAudio server and decoded by multimon-ng. The same
// tests run kt5_dtmf on Linux and, when KT5_WINDOWS_APP_DIR names the Windows build's
// directory (the Windows build's tests set it), kt5_dtmf.exe under Wine, whose ALSA driver
// reaches the same server.
#include "support/alsa_redirect.h"
#include "support/child_process.h"
#include "support/dtmf_decoder.h"
#include "support/pulse_daemon.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"
#include "support/x11_session.h"
#include "window/form1_description.h"
#include "window/layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const platform::WindowLayout kLayout = window::resolveLayout(window::form1Description());
const std::string kCaption(kLayout.caption);
constexpr int kRecordRate = 8000;

std::string environmentOr(const char* name, std::string fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

// Which program runs: the Linux one beside this test, or the Windows one under Wine.
const std::string kWindowsAppDir = environmentOr("KT5_WINDOWS_APP_DIR", "");
const bool kWine = !kWindowsAppDir.empty();

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
        if (HasFailure())
            std::printf("standard error:\n%s\n", stderrText().c_str());
        app.reset();
        if (kWine) // Wine's own processes belong to this test's X server; they end with it
            ChildProcess({"wineserver", "-k"}, environment()).waitFor(5000);
    }

    // Copies the program and its tone files into a directory of that name.
    fs::path install(const std::string& name)
    {
        const fs::path target = appRoot / name;
        fs::create_directories(target);
        const fs::path source = kWine ? fs::path(kWindowsAppDir) : fs::path(KT5_APP_DIR);
        for (const auto& entry : fs::directory_iterator(source))
            if (entry.path().extension() == ".wav" || entry.path().stem() == "kt5_dtmf")
                fs::copy_file(entry.path(), target / entry.path().filename());
        return target;
    }

    std::vector<std::string> environment() const
    {
        std::vector<std::string> env{"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                     "HOME=" + home.path().string(),
                                     "XDG_RUNTIME_DIR=" + home.path().string(), "LC_ALL=C.UTF-8"};
        if (kWine) {
            env.push_back("WINEPREFIX=" + environmentOr("KT5_WINEPREFIX", ""));
            env.push_back("WINEDEBUG=-all");
            // Wine's ALSA driver, and so ALSA's default device, rather than its PulseAudio one.
            env.push_back("WINEDLLOVERRIDES=winepulse.drv=d;mscoree,mshtml=");
        }
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(sanitizer))
                env.push_back(std::string(sanitizer) + "=" + value);
        return env;
    }

    void start(const fs::path& directory, std::vector<std::string> arguments = {})
    {
        filesBefore = filesUnder(appRoot.path());
        recorder = pulse.record(recording, kRecordRate);
        arguments.insert(arguments.begin(),
                         (directory / (kWine ? "kt5_dtmf.exe" : "kt5_dtmf")).string());
        if (kWine)
            arguments.insert(arguments.begin(), "wine");
        app = std::make_unique<ChildProcess>(
            arguments, environment(), (scratch / "stdout").string(), (scratch / "stderr").string());
        form = x11.waitForWindow(kCaption, 30'000);
        ASSERT_TRUE(form.has_value()) << "the window did not appear";
        x11.focus(*form); // as a window manager gives a new window the keyboard
    }

    // Clicks the centre of a button. Wine draws the caption and border inside its X window,
    // so there the client area sits at the bottom, centred.
    void clickButton(std::int16_t index)
    {
        int originX = 0;
        int originY = 0;
        if (kWine) {
            const auto [width, height] = x11.sizeOf(*form);
            originX = (width - kLayout.clientWidth / 15) / 2;
            originY = height - originX - kLayout.clientHeight / 15;
        }
        for (const auto& c : kLayout.controls)
            if (c.index == index)
                x11.click(*form, originX + (c.windowRect.left + c.windowRect.width / 2) / 15,
                          originY + (c.windowRect.top + c.windowRect.height / 2) / 15);
    }

    std::optional<unsigned long> waitForBox() { return x11.waitForWindow("Error", 10'000); }

    // Closes the box with Return, then gives the keyboard back to the window, as a window
    // manager would.
    void closeBox(unsigned long box)
    {
        x11.focus(box);
        x11.key("Return");
        waitUntil([&] { return !x11.waitForWindow("Error", 0); }, milliseconds(5000));
        x11.focus(*form);
    }

    // What the sink played since start, as DTMF keys, once as many keys as `expected` holds
    // have been heard or ten seconds have passed.
    std::string keysPlayed(const std::string& expected)
    {
        waitUntil([&] { return dtmfKeysInRaw(recording, kRecordRate).size() >= expected.size(); },
                  milliseconds(10'000));
        std::this_thread::sleep_for(milliseconds(300)); // for a key too many to show up
        recorder.reset();
        return dtmfKeysInRaw(recording, kRecordRate);
    }

    std::string stderrText() const { return readBytes(scratch / "stderr"); }

    static std::set<fs::path> filesUnder(const fs::path& directory)
    {
        std::set<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(directory))
            files.insert(entry.path());
        return files;
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

TEST_F(Dialer, ClickPlaysThatCommandSilentlyAndClosingEndsCleanlyWritingNothing)
{
    // Were these passed on to the toolkit, the window would open off-screen in another style.
    start(install("Dialer"), {"-platform", "offscreen", "-style", "windows", "--help", "x"});
    clickButton(3);
    EXPECT_EQ(keysPlayed("*03#"), "*03#");

    x11.requestClose(*form);
    EXPECT_EQ(app->waitFor(10'000), 0);
    EXPECT_EQ(filesUnder(appRoot.path()), filesBefore);
    // Wine may speak of itself; the program says nothing.
    EXPECT_EQ(stderrText().find("kt5_dtmf:"), std::string::npos) << "a tone that plays prints";
}

TEST_F(Dialer, QuickClicksPlayInClickOrderAndACloseMeanwhileWaitsForThem)
{
    start(install("Dialer"));
    clickButton(1);
    clickButton(9);
    clickButton(10);
    x11.requestClose(*form);

    EXPECT_EQ(keysPlayed("*01#*09#*10#"), "*01#*09#*10#");
    EXPECT_EQ(app->waitFor(10'000), 0);
}

TEST_F(Dialer, AfterTheErrorBoxTheKeyboardGoesOnWhereItWas)
{
    const fs::path directory = install("Dialer");
    fs::remove(directory / "05.wav");
    start(directory);

    x11.key("Tab"); // to *05#, the first button of the focus order
    x11.key("space");
    const auto box = waitForBox();
    ASSERT_TRUE(box.has_value()) << "no box for the missing file";
    clickButton(7); // the box is modal: dropped, not played later
    closeBox(*box);
    x11.key("space");
    const auto again = waitForBox();
    ASSERT_TRUE(again.has_value()) << "Space after the box did not reach *05#";
    closeBox(*again);
    x11.key("Tab");
    x11.key("space");

    EXPECT_EQ(keysPlayed("*04#"), "*04#");
    EXPECT_NE(stderrText().find("05.wav: file missing"), std::string::npos) << stderrText();
}

TEST_F(Dialer, DirectoryNamedOutsideTheSystemsEncodingPlaysItsOwnFiles)
{
    // Linux: bytes that are not UTF-8. Windows: Cyrillic and a music sign, neither of them
    // in Windows-1252, Wine's ANSI code page here.
    start(install(kWine ? "Набор тонов ♪" : "tones \xff\xfe"));
    clickButton(4);

    EXPECT_EQ(keysPlayed("*04#"), "*04#");
}

TEST_F(Dialer, WithoutADisplayItSaysSoInOneLineAndEnds)
{
    if (kWine)
        GTEST_SKIP() << "under Wine, Wine itself fails first";
    ChildProcess program({(install("Dialer") / "kt5_dtmf").string()},
                         {"PATH=/usr/bin:/bin", "DISPLAY=:9999", "HOME=" + home.path().string()},
                         (scratch / "stdout").string(), (scratch / "stderr").string());

    EXPECT_EQ(program.waitFor(10'000), 1);
    EXPECT_EQ(stderrText(), "kt5_dtmf: cannot open the window: could not connect to display "
                            ":9999\n");
}

} // namespace
} // namespace kt5::test
