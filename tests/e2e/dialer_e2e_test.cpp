// The real program on a private X server, clicked as a person would, its sound recorded from
// a private sound stack (testing/sound_stacks.h) and decoded by multimon-ng; with
// KT5_WINDOWS_APP_DIR, kt5_dtmf.exe under Wine, whose ALSA driver reaches PulseAudio; with
// KT5_INSTALLED_PROGRAM (the package checks), that program in the first test.
#include <gtest/gtest.h>
// GoogleTest comes before Xlib, whose None and Bool macros would hide functions of its own.
#include "layout/layout.h"
#include "testing/child_process.h"
#include "testing/files.h"
#include "testing/sound_stacks.h"
#include "testing/x11_session.h"
#include "window/form1_description.h"

#include <X11/Xutil.h>
#include <cstdlib>
#include <regex>
#include <set>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const layout::WindowLayout kLayout = layout::resolveLayout(window::form1Description());
// The caption as the user is to see it, made here from the version rather than taken from
// the layout: the major and minor numbers only.
const std::string kCaption = "KT-5 DTMF Dialer  V." + std::to_string(KT5_VERSION_MAJOR) + "." +
                             std::to_string(KT5_VERSION_MINOR) + " (QA1ZZ / QB2YY)";

std::string fromEnvironment(const char* name)
{
    return std::getenv(name) != nullptr ? std::getenv(name) : "";
}

const std::string kWindowsAppDir = fromEnvironment("KT5_WINDOWS_APP_DIR");
const bool kWine = !kWindowsAppDir.empty();
const std::string kInstalledProgram = fromEnvironment("KT5_INSTALLED_PROGRAM");

std::string keysIn(const fs::path& raw)
{
    return outputOf({KT5_DTMF_KEYS, "-t", "raw", "-r", "8000", "-e", "signed-integer", "-b", "16",
                     "-c", "1", raw.string()},
                    {"PATH=/usr/bin:/bin"});
}

constexpr auto pixels = &layout::pixelsAtReferenceDpi;

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
        std::vector<std::string> env = sound.environment();
        env.insert(env.end(), {"DISPLAY=" + x11.displayName(), "LC_ALL=C.UTF-8"});
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
        if (kWine) // recorded as written: Wine lags the sink on a busy machine (README, "Windows")
            arguments.insert(arguments.begin(), "wine");
        filesBefore = files();
        recorder = sound.record(recording, 8000, 10, /*asWritten=*/kWine);
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
        const auto box = x11.waitForWindow("Error", 10'000);
        Window owner = 0;
        EXPECT_TRUE(box && XGetTransientForHint(x11.display(), *box, &owner) != 0 && owner == *form)
            << "the box is not the window's";
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
    SoundStack sound{GetParam()};
    TempDir appRoot;
    TempDir scratch;
    fs::path recording = scratch / "played.raw";
    std::set<fs::path> filesBefore;
    std::unique_ptr<ChildProcess> recorder;
    std::unique_ptr<ChildProcess> app;
    std::optional<unsigned long> form;
};

TEST_P(Dialer, QuickClicksPlayInTheirOrderSilentlyAndACloseWaitsForThemAndWritesNothing)
{
    // Were these passed on to the toolkit, the window would open off-screen in another style.
    start(kInstalledProgram.empty() ? install("Dialer") : fs::path(kInstalledProgram),
          {"-platform", "offscreen", "-style", "windows", "--help", "x"});
    for (const int button : {3, 9, 10, 0, 3})
        clickButton(static_cast<std::int16_t>(button));
    x11.requestClose(*form);

    EXPECT_EQ(keysPlayed("*03#*09#*10#*00#*03#"), "*03#*09#*10#*00#*03#");
    EXPECT_EQ(app->waitFor(10'000), 0) << stderrText();
    EXPECT_EQ(files(), filesBefore);
    EXPECT_FALSE(x11.waitForWindow("Error", 0)) << "a box for a tone that played";
    // Wine may speak of itself; the program says nothing.
    EXPECT_EQ(stderrText().find("kt5_dtmf:"), std::string::npos) << "a tone that plays prints";
}

// What does not depend on the stack, on one.
using DialerOnOneStack = Dialer;

TEST_P(DialerOnOneStack,
       ACutShortToneGivesTheWindowsBoxAndPlaysNothingInAFolderNamedOutsideTheEncoding)
{
    // Linux: bytes that are not UTF-8. Windows: Cyrillic and a music sign, neither of them
    // in Windows-1252, Wine's ANSI code page here.
    const fs::path program = install(kWine ? "Набор тонов ♪" : "tones \xff\xfe");
    const fs::path tone = program.parent_path() / "05.wav";
    fs::resize_file(tone, fs::file_size(tone) / 2); // "*0" of "*05#", were it played
    start(program);
    clickButton(5);
    ASSERT_TRUE(closeBox()) << "no box for the cut-short file";
    clickButton(4);

    EXPECT_EQ(keysPlayed("*04#"), "*04#");
    EXPECT_NE(stderrText().find("05.wav: file cut short"), std::string::npos) << stderrText();
}

INSTANTIATE_TEST_SUITE_P(Stacks, Dialer,
                         testing::ValuesIn(kWine ? std::vector{Stack::PulseAudio}
                                                 : std::vector{Stack::AlsaOnly, Stack::PulseAudio,
                                                               Stack::PipeWireAlsa,
                                                               Stack::PipeWirePulse}),
                         [](const auto& row) { return nameOf(row.param); });
// As a screen reader meets it: the accessibility bus started by the session bus's
// ScreenReaderEnabled, as a screen reader starts it, before the program starts.
TEST_P(DialerOnOneStack, AScreenReaderFindsTheFrameAndEveryButtonPressesThreeAndHearsNothingUnseen)
{
    if (kWine)
        GTEST_SKIP() << "Wine has no AT-SPI bridge";
    std::vector<std::string> env = environment();
    env.push_back("GSETTINGS_BACKEND=memory"); // the setting is not saved for the user
    ASSERT_EQ(ChildProcess({"gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                            "/org/a11y/bus", "--method", "org.freedesktop.DBus.Properties.Set",
                            "org.a11y.Status", "ScreenReaderEnabled", "<true>"},
                           env)
                  .waitFor(10'000),
              0);
    start(install("Dialer"));
    std::vector<std::string> reader{KT5_TESTS_DIR "/e2e/screen_reader.py", kCaption};
    for (const int b : {1, 2, 3})
        for (const auto& c : kLayout.controls)
            if (c.index == b)
                reader.push_back(c.accessibleName);
    const fs::path said = scratch / "reader";
    ChildProcess screenReader(reader, env, said.string());

    EXPECT_EQ(screenReader.waitFor(60'000), 0) << readBytes(said);
    EXPECT_EQ(readBytes(said), "11 buttons\n");
    EXPECT_EQ(keysPlayed("*01#*02#*03#"), "*01#*02#*03#");
}

INSTANTIATE_TEST_SUITE_P(PulseAudio, DialerOnOneStack, testing::Values(Stack::PulseAudio),
                         [](const auto& row) { return nameOf(row.param); });

// Every way the window cannot open, in one line each that names what failed.
TEST(DialerWithoutADisplay, SaysWhyInOneLineAndEnds)
{
    if (kWine)
        GTEST_SKIP() << "under Wine, Wine itself fails first";
    const TempDir runtime;
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"DISPLAY=:9999"}, "could not connect to display :9999"},
        {{}, "no display is set (neither WAYLAND_DISPLAY nor DISPLAY)"},
        {{"WAYLAND_DISPLAY=wayland-9"},
         "XDG_RUNTIME_DIR is not set to a directory, so the Wayland display wayland-9 cannot be "
         "found"},
        {{"WAYLAND_DISPLAY=wayland-9", "XDG_RUNTIME_DIR=" + runtime.path().string()},
         "could not connect to the Wayland display wayland-9"},
    };
    for (const auto& [variables, line] : rows) {
        const TempDir scratch;
        std::vector<std::string> env{"PATH=/usr/bin:/bin", "HOME=" + scratch.path().string()};
        env.insert(env.end(), variables.begin(), variables.end());
        ChildProcess program({KT5_APP_DIR "/kt5_dtmf"}, env, (scratch / "out").string(),
                             (scratch / "err").string());
        EXPECT_EQ(program.waitFor(10'000), 1) << line;
        EXPECT_EQ(readBytes(scratch / "err"), "kt5_dtmf: cannot open the window: " + line + "\n");
    }
}

// On a compositor that leaves the window's border to it (weston, headless), through Qt's
// Wayland plugin: up at its size, tied to its menu entry by its app id, and saying nothing,
// in no locale at all, in C, and in one of another encoding that the system has; nor with all
// of Qt's logging asked for, whose debug and info messages are not the program's to print.
TEST(DialerOnWayland, ComesUpNativelyAtItsSizeWithTheMenuEntrysIdAndSaysNothingInAnyLocale)
{
    if (kWine)
        GTEST_SKIP() << "Wine draws on X";
    if (!fs::exists("/usr/bin/weston"))
        GTEST_SKIP() << "weston is not installed (scripts/install-deps installs it)";
    const TempDir runtime;
    fs::permissions(runtime.path(), fs::perms::owner_all);
    const std::vector<std::string> env{"PATH=/usr/bin:/bin", "HOME=" + runtime.path().string(),
                                       "XDG_RUNTIME_DIR=" + runtime.path().string(),
                                       "WAYLAND_DISPLAY=kt5-wayland", "QT_LOGGING_RULES=*=true"};
    ASSERT_EQ(ChildProcess({"localedef", "-i", "de_DE", "-f", "ISO-8859-1",
                            (runtime / "de_DE.ISO-8859-1").string()},
                           env)
                  .waitFor(30'000),
              0);
    ChildProcess weston({"weston", "--backend=headless-backend.so", "--use-pixman",
                         "--socket=kt5-wayland", "--width=800", "--height=600", "--no-config",
                         "--idle-time=0", "--debug"},
                        env);
    ASSERT_TRUE(
        waitUntil([&] { return fs::exists(runtime / "kt5-wayland"); }, milliseconds(10'000)));
    // Found by its app id: under another id, it is not found.
    const std::regex shown("top-level window '[^']*' of " KT5_APP_ID
                           ",[^]*?opaque: \\((\\d+), (\\d+)\\) -> \\((\\d+), (\\d+)\\)");
    const auto scene = [&] { return outputOf({"weston-debug", "scene-graph"}, env); };
    const std::vector<std::string> locales[] = {
        {}, {"LC_ALL=C"}, {"LOCPATH=" + runtime.path().string(), "LANG=de_DE.ISO-8859-1"}};
    for (const auto& locale : locales) {
        std::vector<std::string> appEnv = env;
        appEnv.insert(appEnv.end(), locale.begin(), locale.end());
        const fs::path err = runtime / "err";
        {
            ChildProcess app({KT5_APP_DIR "/kt5_dtmf"}, appEnv, (runtime / "out").string(),
                             err.string());
            std::smatch window;
            std::string graph;
            ASSERT_TRUE(waitUntil([&] { return std::regex_search(graph = scene(), window, shown); },
                                  milliseconds(30'000)))
                << graph << readBytes(err);
            EXPECT_EQ(std::stoi(window[3]) - std::stoi(window[1]), pixels(kLayout.clientWidth));
            EXPECT_EQ(std::stoi(window[4]) - std::stoi(window[2]), pixels(kLayout.clientHeight));
            EXPECT_EQ(readBytes(err), "") << testing::PrintToString(locale);
        }
        // Gone, so that the window found next is the next program's.
        ASSERT_TRUE(
            waitUntil([&] { return !std::regex_search(scene(), shown); }, milliseconds(10'000)));
    }
}

} // namespace
} // namespace kt5::test
