// The dialer end to end (the fixture: e2e/dialer.h): clicked as a person clicks it, on every
// sound stack, under a screen reader, without a display, and on Wayland.
#include "e2e/dialer.h"

#include <regex>

namespace kt5::test {
namespace {

using namespace std::string_literals;

TEST_P(Dialer, QuickClicksPlayInOrderABadFileGivesOneBoxAndACloseWaitsForThemWritingNothing)
{
    // In a folder named outside the encoding, one tone cut short; or the installed program.
    const bool ours = kInstalledProgram.empty();
    const fs::path program =
        ours ? install(kWine ? "Набор тонов ♪" : "tones \xff\xfe") : fs::path(kInstalledProgram);
    const fs::path cut = program.parent_path() / "05.wav";
    if (ours)
        fs::resize_file(cut, fs::file_size(cut) / 2); // "*0" of "*05#", were it played
    // Were these passed on to the toolkit, the window would open off-screen in another style.
    start(program, {"-platform", "offscreen", "-style", "windows", "--help", "x"});
    for (const int button : {3, 9, 10, 0, 3})
        clickButton(static_cast<std::int16_t>(button));
    if (ours) {
        clickButton(5);
        ASSERT_TRUE(closeBox()) << "no box for the cut-short file";
        clickButton(4);
    }

    EXPECT_EQ(keysPlayedByTheEnd(), std::pair("*03#*09#*10#*00#*03#"s + (ours ? "*04#" : ""), 0))
        << stderrText();
    EXPECT_EQ(files(), filesBefore);
    // Wine may speak of itself; the program says one line, of the file it could not play.
    const std::string said = stderrText();
    const std::regex line("^kt5_dtmf: ", std::regex::multiline);
    EXPECT_EQ(std::distance(std::sregex_iterator(said.begin(), said.end(), line), {}), ours ? 1 : 0)
        << said;
    EXPECT_EQ(said.find("05.wav: file cut short") != std::string::npos, ours) << said;
    // On Windows in the Application event log too, which Wine writes as one of its errors.
    EXPECT_EQ(said.find("ReportEventW L\"kt5_dtmf: cannot play ") != std::string::npos,
              kWine && ours);
}

using DialerOnOneStack = Dialer;

INSTANTIATE_TEST_SUITE_P(Stacks, Dialer,
                         testing::ValuesIn(kWine ? std::vector{Stack::PulseAudio}
                                                 : std::vector{Stack::AlsaOnly, Stack::PulseAudio,
                                                               Stack::PipeWireAlsa,
                                                               Stack::PipeWirePulse}),
                         [](const auto& row) { return nameOf(row.param); });

// As a screen reader meets it: the accessibility bus started on demand, as systemd's desktops
// do (over PulseAudio), or at login by its autostart entry (over pipewire-pulse); turned on
// before the program starts (Qt 6.4 looks only then) by IsEnabled, which every at-spi2-core has.
using ScreenReader = Dialer;
TEST_P(ScreenReader, FindsTheFrameAndEveryButtonPressesThreeAndHearsNothingUnseen)
{
    if (kWine)
        GTEST_SKIP() << "Wine has no AT-SPI bridge";
    std::optional<ChildProcess> atLogin;
    if (GetParam() == Stack::PipeWirePulse) {
        atLogin.emplace(std::vector<std::string>{"/bin/sh", "-c",
                                                 "exec $(sed -n 's/^Exec=//p' "
                                                 "/etc/xdg/autostart/at-spi-dbus-bus.desktop)"},
                        environment());
        ASSERT_EQ(ChildProcess({"gdbus", "wait", "--session", "org.a11y.Bus"}, environment())
                      .waitFor(10'000),
                  0);
    }
    ASSERT_EQ(ChildProcess({"gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                            "/org/a11y/bus", "--method", "org.freedesktop.DBus.Properties.Set",
                            "org.a11y.Status", "IsEnabled", "<true>"},
                           environment())
                  .waitFor(10'000),
              0);
    start(install("Dialer"));
    std::vector<std::string> reader{KT5_TESTS_DIR "/e2e/screen_reader.py", kCaption};
    for (const auto& c : kLayout.controls) // in the order of their indexes
        if (c.index >= 1 && c.index <= 3)
            reader.push_back(c.accessibleName);
    const fs::path said = scratch / "reader";
    ChildProcess screenReader(reader, environment(), said.string());

    EXPECT_EQ(screenReader.waitFor(60'000), 0) << readBytes(said);
    EXPECT_EQ(readBytes(said), "11 buttons\n");
    // A press through the accessibility bus reaches the button after the reader is told done.
    EXPECT_EQ(keysPlayedByTheEnd(12), std::pair("*01#*02#*03#"s, 0));
    EXPECT_EQ(stderrText(), "");
}

// Under Wine's PulseAudio driver, whose PlaySound and its stop wait on a stopped server: the
// box comes in time, the window answers meanwhile, the next click plays once it is back.
TEST_P(DialerOnOneStack, AServerStoppedMidToneGivesTheBoxInTimeAndTheNextClickPlaysOnceBack)
{
    if (!kWine)
        GTEST_SKIP() << "for Windows' own PlaySound";
    wineThroughPulse = true;
    start(install("Dialer"));
    const auto ourStreams = [&] { return sound.listed("sink-inputs").size() - 1; }; // no clock
    const auto clicked = std::chrono::steady_clock::now();
    clickButton(0); // *00#, 0.8 s
    ASSERT_TRUE(waitUntil([&] { return ourStreams() > 0; }, milliseconds(10'000)));
    sound.freeze();
    ASSERT_TRUE(closeBox()) << "no box while the server is stopped";
    EXPECT_LT(std::chrono::steady_clock::now() - clicked, milliseconds(800 + 3000 + 1000));
    clickButton(3); // the window answers: a box at once, saying why
    ASSERT_TRUE(closeBox()) << "the window does not answer while the server is stopped";
    sound.thaw();
    ASSERT_TRUE(waitUntil([&] { return ourStreams() == 0; }, milliseconds(10'000)));
    recording = scratch / "once-back.raw";
    recorder = sound.record(recording, 8000, 200);
    clickButton(3);
    // Heard at the sink, where Wine's PulseAudio driver, late on a busy machine, breaks a key
    // in two (docs/developers.md, "Wine's quirks"): a key heard twice in a row is one key of *03#.
    auto [keys, status] = keysPlayedByTheEnd(4);
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    EXPECT_EQ(std::pair(keys, status), std::pair("*03#"s, 0)) << stderrText();
    const std::string said = stderrText();
    EXPECT_TRUE(said.find("00.wav: sound output timed out") != std::string::npos &&
                said.find("03.wav: sound output has not answered since") != std::string::npos)
        << said;
}

INSTANTIATE_TEST_SUITE_P(PulseAudio, DialerOnOneStack, testing::Values(Stack::PulseAudio),
                         [](const auto& row) { return nameOf(row.param); });
INSTANTIATE_TEST_SUITE_P(Bus, ScreenReader,
                         testing::Values(Stack::PulseAudio, Stack::PipeWirePulse),
                         [](const auto& row) {
                             return row.param == Stack::PulseAudio ? "OnDemand" : "AtLogin";
                         });

// Every way the window cannot open, in one line each. Then on weston, through Qt's Wayland
// plugin: up at its size, found by its app id, saying nothing though Qt logs all.
TEST(DialerDisplays, WithoutOneItSaysWhyOnWaylandItComesUpNativelySayingNothing)
{
    if (kWine)
        GTEST_SKIP() << "Wine draws on X, and fails first without one";
    const TempDir runtime;
    fs::permissions(runtime.path(), fs::perms::owner_all);
    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{"DISPLAY=:9999"}, "could not connect to display :9999"},
        {{}, "no display is set (neither WAYLAND_DISPLAY nor DISPLAY)"},
        {{"WAYLAND_DISPLAY=wayland-9"},
         "XDG_RUNTIME_DIR is not set to a directory, so the Wayland display wayland-9 cannot be "
         "found"},
        {{"WAYLAND_DISPLAY=wayland-9", "XDG_RUNTIME_DIR=" + runtime.path().string()},
         "could not connect to the Wayland display wayland-9"},
    };
    for (const auto& [variables, line] : failures) {
        std::vector<std::string> env{"PATH=/usr/bin:/bin", "HOME=" + runtime.path().string()};
        env.insert(env.end(), variables.begin(), variables.end());
        ChildProcess program({KT5_APP_DIR "/kt5_dtmf"}, env, (runtime / "out").string(),
                             (runtime / "err").string());
        EXPECT_EQ(program.waitFor(10'000), 1) << line;
        EXPECT_EQ(readBytes(runtime / "err"), "kt5_dtmf: cannot open the window: " + line + "\n");
    }
    if (!fs::exists("/usr/bin/weston"))
        GTEST_SKIP() << "weston is not installed (scripts/install-deps --tests installs it)";
    const std::vector<std::string> env{"PATH=/usr/bin:/bin", "HOME=" + runtime.path().string(),
                                       "XDG_RUNTIME_DIR=" + runtime.path().string(),
                                       "WAYLAND_DISPLAY=kt5-wayland", "QT_LOGGING_RULES=*=true"};
    ChildProcess weston({"weston", "--backend=headless-backend.so", "--use-pixman",
                         "--socket=kt5-wayland", "--width=800", "--height=600", "--no-config",
                         "--idle-time=0", "--debug"},
                        env);
    ASSERT_TRUE(
        waitUntil([&] { return fs::exists(runtime / "kt5-wayland"); }, milliseconds(10'000)));
    // What every client asks of the compositor, read by the protocol's names, not by the
    // punctuation around them, which changes between releases ('@' or '#', a process id or not).
    const fs::path requests = runtime / "requests";
    const ChildProcess dump({"weston-debug", "proto"}, env, requests.string());
    ASSERT_TRUE(waitUntil([&] { return fs::file_size(requests) > 0; }, milliseconds(10'000)));
    // Found by its app id (under another, it is not); its size, the opaque area its client sets.
    const std::regex named("client (\\S+)[^\\n]*\\.set_app_id\\(\"" KT5_APP_ID "\"\\)");
    const std::string opaque =
        R"([^\n]*\.add\(-?\d+, -?\d+, (\d+), (\d+)\)\n[^\n]*\.set_opaque_region\()";
    // In no locale at all, as services often run (Qt 6.8 on would say it switches to UTF-8).
    const fs::path err = runtime / "err";
    ChildProcess app({KT5_APP_DIR "/kt5_dtmf"}, env, (runtime / "out").string(), err.string());
    std::string asked;
    std::smatch client, size;
    const auto shown = [&] {
        asked = readBytes(requests);
        return std::regex_search(asked, client, named) &&
               std::regex_search(asked, size, std::regex("client " + client.str(1) + opaque));
    };
    ASSERT_TRUE(waitUntil(shown, milliseconds(30'000))) << asked << readBytes(err);
    EXPECT_EQ(std::stoi(size[1]), pixels(kLayout.clientWidth));
    EXPECT_EQ(std::stoi(size[2]), pixels(kLayout.clientHeight));
    EXPECT_EQ(readBytes(err), "");
}

} // namespace
} // namespace kt5::test
