#pragma once

// The real program on a private X server, clicked as a person would, its sound recorded from a
// private sound stack and decoded by multimon-ng; with KT5_WINDOWS_APP_DIR, kt5_dtmf.exe under
// Wine; with KT5_INSTALLED_PROGRAM, that program in the first test.
#include <gtest/gtest.h>
// GoogleTest comes before Xlib, whose None and Bool macros would hide functions of its own.
#include "layout/layout.h"
#include "testing/child_process.h"
#include "testing/files.h"
#include "testing/sound_stacks.h"
#include "testing/x11_session.h"
#include "window/form1_description.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace kt5::test {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

inline const layout::FormLayout kLayout = layout::resolveLayout(window::form1Description());
// The caption as the user is to see it, made from the version, not taken from the layout.
inline const std::string kCaption = "KT-5 DTMF Dialer  V." + std::to_string(KT5_VERSION_MAJOR) +
                                    "." + std::to_string(KT5_VERSION_MINOR) + " (QA1ZZ / QB2YY)";

inline std::string fromEnvironment(const char* name)
{
    return std::getenv(name) != nullptr ? std::getenv(name) : "";
}

inline const std::string kWindowsAppDir = fromEnvironment("KT5_WINDOWS_APP_DIR");
inline const bool kWine = !kWindowsAppDir.empty();
inline const std::string kInstalledProgram = fromEnvironment("KT5_INSTALLED_PROGRAM");

inline std::string keysIn(const fs::path& raw)
{
    return outputOf({KT5_DTMF_KEYS, "-t", "raw", "-r", "8000", "-e", "signed-integer", "-b", "16",
                     "-c", "1", raw.string()},
                    {"PATH=/usr/bin:/bin"});
}

inline constexpr auto pixels = &layout::pixelsAtReferenceDpi;

// Wine's server, found when the test runs, as Wine may come after the build: where Debian's
// Wine keeps it from 10.0~repack-12 on, off PATH, or on PATH.
inline std::string wineserver()
{
    const fs::path beside = KT5_WINE_LIBDIR "/wineserver";
    return fs::exists(beside) ? beside.string() : "wineserver";
}

class Dialer : public testing::TestWithParam<Stack> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x11.ready()) << "Xvfb did not start";
        if (!sound.lacked().empty())
            GTEST_SKIP() << sound.lacked();
        ASSERT_TRUE(sound.ready()) << nameOf(GetParam()) << " did not start";
    }

    void TearDown() override
    {
        app.reset();
        if (kWine) // Wine's own processes belong to this test's X server; they end with it
            ChildProcess({wineserver(), "-k"}, environment()).waitFor(5000);
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
        std::vector<std::string> env = sound.environment();
        env.insert(env.end(), {"DISPLAY=" + x11.displayName(), "LC_ALL=C.UTF-8"});
        if (kWine)
            env.insert(env.end(),
                       {"WINEPREFIX=" + fromEnvironment("KT5_WINEPREFIX"),
                        "WINEDEBUG=-all,err+eventlog"}); // Wine's event log is its stderr
        if (kWine && !wineThroughPulse) // Wine's ALSA driver, so ALSA's default device
            env.push_back("WINEDLLOVERRIDES=winepulse.drv=d");
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(sanitizer))
                env.push_back(std::string(sanitizer) + "=" + value);
        return env;
    }

    void start(const fs::path& program, std::vector<std::string> arguments = {})
    {
        arguments.insert(arguments.begin(), program.string());
        // Recorded as written: Wine lags the sink on a busy machine (docs/developers.md,
        // "Wine's quirks").
        if (kWine)
            arguments.insert(arguments.begin(), "wine");
        filesBefore = files();
        recorder = sound.record(recording, 8000, 200, /*asWritten=*/kWine);
        app = std::make_unique<ChildProcess>(
            arguments, environment(), (scratch / "stdout").string(), (scratch / "stderr").string());
        form = x11.waitForWindow(kCaption, 30'000);
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
            x = (width - pixels(kLayout.clientWidth)) / 2;
            y = height - x - pixels(kLayout.clientHeight);
        }
        for (const auto& c : kLayout.controls)
            if (c.index == index)
                x11.click(*form, x + pixels(c.windowRect.left + c.windowRect.width / 2),
                          y + pixels(c.windowRect.top + c.windowRect.height / 2));
    }

    // Closes the error box with Return once it is there, and gives the keyboard back to the
    // window, as a window manager does; false when no box came. It must be the window's own.
    bool closeBox()
    {
        const auto box = x11.waitForWindow("Error", 30'000);
        Window owner = 0;
        EXPECT_TRUE(box && XGetTransientForHint(x11.display(), *box, &owner) != 0 && owner == *form)
            << "the box is not the window's";
        if (box) {
            x11.focus(*box);
            x11.key("Return");
            EXPECT_TRUE(
                waitUntil([&] { return !x11.waitForWindow("Error", 0); }, milliseconds(5000)))
                << "the box did not close";
            x11.focus(*form);
        }
        return box.has_value();
    }

    // Closes the window once `heardFirst` keys have been heard, and gives the keys played since
    // start once the program has ended, with its exit status. A box that comes meanwhile fails
    // the test at once, with the program's reason for it.
    std::pair<std::string, int> keysPlayedByTheEnd(std::size_t heardFirst = 0)
    {
        EXPECT_TRUE(
            waitUntil([&] { return keysIn(recording).size() >= heardFirst; }, milliseconds(10'000)))
            << "heard only " << keysIn(recording);
        x11.requestClose(*form);
        // Ended: its window gone (what a Start menu entry starts is not the process started
        // here) and the process too.
        const auto ended = [&] { return !x11.waitForWindow(kCaption, 0) && !app->running(); };
        waitUntil([&] { return ended() || x11.waitForWindow("Error", 0); }, milliseconds(60'000));
        if (!ended()) {
            ADD_FAILURE() << "the program has not ended, or showed a box: " << stderrText();
            return {"", -1};
        }
        // The sink's monitor hands on what was heard a moment later: 300 ms more of it.
        const auto heardByTheEnd = fs::file_size(recording);
        const auto recorded = [&] { return fs::file_size(recording) >= heardByTheEnd + 4800; };
        EXPECT_TRUE(!recorder || waitUntil(recorded, milliseconds(10'000)))
            << "the recorder stopped";
        recorder.reset();
        return {keysIn(recording), app->waitFor(0)};
    }

    std::string stderrText() const { return readBytes(scratch / "stderr"); }
    std::set<fs::path> files() const
    {
        const fs::recursive_directory_iterator all(appRoot.path());
        return {fs::begin(all), fs::end(all)};
    }

    X11Session x11;
    SoundStack sound{GetParam()};
    TempDir appRoot;
    TempDir scratch;
    fs::path recording = scratch / "played.raw";
    std::set<fs::path> filesBefore;
    std::unique_ptr<ChildProcess> recorder;
    std::unique_ptr<ChildProcess> app;
    std::optional<unsigned long> form;
    bool wineThroughPulse = false; // Wine's PulseAudio driver, not its ALSA one
};

} // namespace kt5::test
