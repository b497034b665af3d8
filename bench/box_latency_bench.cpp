// Click to box: from a click on a button whose tone cannot be played to the error box on
// screen, for the ways a tone fails that the playback rules answer at once or by a deadline:
// a file that is missing; a file whose header claims 10 s while it holds 20 minutes of sound;
// and a sound server that stops answering mid-tone (the tone's 0.8 s, the grace and the
// margin). The box is looked for as a window manager finds it, every 10 ms, through xdotool,
// which adds some 30 ms. On PulseAudio. Prints figures, asserts nothing.
//
//   box_latency_bench [RUNS]
#include "layout/layout.h"
#include "testing/child_process.h"
#include "testing/files.h"
#include "testing/sound_stacks.h"
#include "testing/x11_session.h"
#include "window/form1_description.h"
#include "xtest_click.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
namespace fs = std::filesystem;

// 16-bit mono at 8 kHz, 20 minutes of silence, whose byte rate makes it 10 s.
void writeLongFile(const fs::path& file)
{
    constexpr std::uint32_t kBytes = 1200 * 16000;
    const auto le = [](std::uint32_t value, int size) {
        std::string out;
        for (int i = 0; i < size; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    std::ofstream(file, std::ios::binary)
        << "RIFF" << le(36 + kBytes, 4) << "WAVEfmt " << le(16, 4) << le(1, 2) << le(1, 2)
        << le(8000, 4) << le(kBytes / 10, 4) << le(2, 2) << le(16, 2) << "data" << le(kBytes, 4);
    fs::resize_file(file, 44 + kBytes);
}

struct Failure {
    const char* what;
    std::int16_t button;
    std::function<void(const fs::path& app)> prepare; // breaks the button's tone
    bool freezeServer;                                // once its stream plays
};

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    kt5::test::X11Session x11;
    const kt5::test::SoundStack sink(kt5::test::Stack::PulseAudio);
    if (!x11.ready() || !sink.ready()) {
        std::fprintf(stderr, "Xvfb or PulseAudio did not start\n");
        return 1;
    }
    std::vector<std::string> env = sink.environment();
    env.push_back("DISPLAY=" + x11.displayName());
    const auto layout = kt5::layout::resolveLayout(kt5::window::form1Description());
    const Failure failures[] = {
        {"file missing", 3, [](const fs::path& app) { fs::remove(app / "03.wav"); }, false},
        {"20 min claiming 10 s", 0, [](const fs::path& app) { writeLongFile(app / "00.wav"); },
         false},
        {"server stopped mid-tone", 0, [](const fs::path&) {}, true},
    };
    for (const Failure& failure : failures) {
        std::vector<double> ms;
        for (int run = 0; run < runs; ++run) {
            const kt5::test::TempDir scratch;
            fs::copy(fs::path(KT5_DTMF_EXE).parent_path(), scratch / "app",
                     fs::copy_options::recursive);
            failure.prepare(scratch / "app");
            kt5::test::ChildProcess app({(scratch / "app" / "kt5_dtmf").string()}, env);
            const auto window = x11.waitForWindow(std::string(layout.caption), 10'000);
            if (!window) {
                std::fprintf(stderr, "no window\n");
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(500)); // drawn and idle
            const auto& button =
                *std::find_if(layout.controls.begin(), layout.controls.end(),
                              [&](const auto& c) { return c.index == failure.button; });
            const auto clicked = Clock::now();
            kt5::bench::xtestClick(x11.display(), *window,
                                   kt5::layout::pixelsAtReferenceDpi(button.windowRect.left +
                                                                     button.windowRect.width / 2),
                                   kt5::layout::pixelsAtReferenceDpi(button.windowRect.top +
                                                                     button.windowRect.height / 2));
            if (failure.freezeServer) {
                kt5::test::waitUntil([&] { return sink.listed("sink-inputs").size() > 1; },
                                     std::chrono::seconds(5)); // its stream beside the clock's
                sink.freeze();
            }
            const auto box = x11.waitForWindow("Error", 10'000);
            if (box)
                ms.push_back(Milliseconds(Clock::now() - clicked).count());
            sink.thaw();
        }
        std::sort(ms.begin(), ms.end());
        if (ms.empty())
            std::printf("%-24s no box\n", failure.what);
        else
            std::printf("%-24s median %6.0f ms  min %6.0f  max %6.0f  (%zu boxes of %d)\n",
                        failure.what, ms[ms.size() / 2], ms.front(), ms.back(), ms.size(), runs);
    }
    return 0;
}
