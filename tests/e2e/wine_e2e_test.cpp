// The real kt5_dtmf.exe under Wine on a private X server, clicked with real pointer events,
// its sound taken through Wine's ALSA driver to a private PulseAudio server, recorded and
// decoded by multimon-ng.
//
// The Windows build runs it, with KT5_WINDOWS_APP_DIR naming the directory of kt5_dtmf.exe
// and its tone files, and KT5_WINEPREFIX the Wine prefix to use.
#include "e2e/e2e_support.h"
#include "support/alsa_redirect.h"
#include "support/child_process.h"
#include "support/pulse_daemon.h"
#include "support/temp_dir.h"
#include "support/x11_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;

const std::string kCaption = "KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)";
constexpr int kRecordRate = 8000;
constexpr int kClientWidth = 382; // 5730 x 3705 twips at 96 DPI
constexpr int kClientHeight = 247;

std::string environmentOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

class WineDialer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(sourceDir.empty()) << "KT5_WINDOWS_APP_DIR is not set";
        ASSERT_TRUE(fs::exists(fs::path(sourceDir) / "kt5_dtmf.exe"));
        ASSERT_TRUE(x11.ready()) << "Xvfb did not start";
        ASSERT_TRUE(pulse.ready()) << "PulseAudio did not start";
        std::ofstream(home / ".asoundrc") << "pcm.!default {\n"
                                          << AlsaRedirect::toPulseServer(pulse.socket()) << "}\n";
    }

    void TearDown() override
    {
        app.reset();
        // Wine's desktop process belongs to this test's X server; end it with the server.
        ChildProcess({"wineserver", "-k"}, wineEnvironment()).waitFor(5000);
    }

    // Copies the program and its tone files into `directory` under the test's folder.
    fs::path install(const std::string& directory)
    {
        const fs::path target = appRoot / directory;
        fs::create_directories(target);
        for (const auto& entry : fs::directory_iterator(sourceDir))
            if (entry.path().extension() == ".exe" || entry.path().extension() == ".wav")
                fs::copy_file(entry.path(), target / entry.path().filename());
        return target;
    }

    std::vector<std::string> wineEnvironment() const
    {
        return {"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                "HOME=" + home.path().string(), "XDG_RUNTIME_DIR=" + home.path().string(),
                "WINEPREFIX=" + environmentOr("KT5_WINEPREFIX", ""), "WINEDEBUG=-all",
                // Wine's ALSA driver, and so ALSA's default device, rather than its own
                // PulseAudio driver.
                "WINEDLLOVERRIDES=winepulse.drv=d;mscoree,mshtml=",
                // UTF-8 file names, and Windows-1252 as the programs' ANSI code page.
                "LC_ALL=C.UTF-8"};
    }

    void start(const fs::path& directory)
    {
        recorder = pulse.record(recording, kRecordRate);
        app = std::make_unique<ChildProcess>(
            std::vector<std::string>{"wine", (directory / "kt5_dtmf.exe").string()},
            wineEnvironment(), (scratch / "wine.log").string());
        form = x11.waitForWindow(kCaption, 30'000);
        ASSERT_TRUE(form.has_value()) << "the window did not appear";
        pauseMs(500);
    }

    // Wine draws the caption and border inside its X window: the client area sits at the
    // bottom, centred.
    void clickButton(std::int16_t index)
    {
        const auto [width, height] = x11.sizeOf(*form);
        const int border = (width - kClientWidth) / 2;
        const auto [x, y] = centreOfButton(index);
        x11.click(*form, border + x, height - border - kClientHeight + y);
    }

    std::string keysPlayed(const std::string& expected)
    {
        return keysRecorded(recorder, recording, kRecordRate, expected);
    }

    const std::string sourceDir = environmentOr("KT5_WINDOWS_APP_DIR", "");
    X11Session x11;
    PulseDaemon pulse;
    TempDir home;
    TempDir appRoot;
    TempDir scratch;
    fs::path recording = scratch / "played.raw";
    std::unique_ptr<ChildProcess> recorder;
    std::unique_ptr<ChildProcess> app;
    std::optional<unsigned long> form;
};

TEST_F(WineDialer, ClickPlaysItsSequenceAndClosingEndsWithStatusZero)
{
    start(install("Dialer"));
    clickButton(3);
    EXPECT_EQ(keysPlayed("*03#"), "*03#");

    x11.requestClose(*form);
    EXPECT_EQ(app->waitFor(10'000), 0);
}

TEST_F(WineDialer, MissingToneFileShowsTheErrorBoxAndTheWindowWorksAfterwards)
{
    const fs::path directory = install("Dialer");
    fs::remove(directory / "05.wav");
    start(directory);

    clickButton(5);
    const auto box = x11.waitForWindow("Error", 10'000);
    ASSERT_TRUE(box.has_value()) << "no window titled Error";
    x11.requestClose(*box);
    pauseMs(500);
    EXPECT_FALSE(x11.windowExists("Error"));
    clickButton(6);

    EXPECT_EQ(keysPlayed("*06#"), "*06#");
}

TEST_F(WineDialer, DirectoryNamedOutsideTheAnsiCodePagePlaysItsOwnFile)
{
    // Cyrillic and a music sign: neither is in Windows-1252, Wine's ANSI code page here.
    start(install("Набор тонов ♪"));
    clickButton(4);

    EXPECT_EQ(keysPlayed("*04#"), "*04#");
}

} // namespace
} // namespace kt5::test
