// Click-to-sound latency of kt5_dtmf: from a synthetic click (XTEST) on a button to the first
// sound of its tone reaching a private PulseAudio null sink, for the first click after start
// (which binds the audio libraries) and for later ones. Prints figures, asserts nothing.
//
//   click_latency_bench [RUNS]
//
// The sink's monitor is recorded in 2 ms fragments and watched as it grows; a sample's time is
// that of its arrival less the samples that arrived after it in the same read, so a figure
// includes at most the recorder's own delivery of one fragment.
#include "support/child_process.h"
#include "support/files.h"
#include "support/sound_servers.h"
#include "support/x11_session.h"
#include "window/form1_description.h"
#include "window/layout.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
constexpr int kRate = 48000;
constexpr std::int16_t kSilence = 64; // -54 dBFS: above the null sink's zeros, below any tone

// Waits for the recording to show sound; returns when its first sample was at the sink.
std::optional<Clock::time_point> firstSound(const std::filesystem::path& raw, std::size_t from)
{
    std::ifstream in(raw, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from * sizeof(std::int16_t)));
    const auto giveUp = Clock::now() + std::chrono::seconds(5);
    std::vector<std::int16_t> block(4096);
    while (Clock::now() < giveUp) {
        in.clear();
        in.read(reinterpret_cast<char*>(block.data()),
                static_cast<std::streamsize>(block.size() * sizeof(std::int16_t)));
        const auto arrived = Clock::now();
        const auto count = static_cast<std::size_t>(in.gcount()) / sizeof(std::int16_t);
        const auto loud = std::find_if(block.begin(), block.begin() + count,
                                       [](std::int16_t s) { return std::abs(s) > kSilence; });
        if (loud != block.begin() + count)
            return arrived -
                   std::chrono::microseconds(1'000'000 * (block.begin() + count - loud) / kRate);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return std::nullopt;
}

// A click through XTEST on the bench's own connection, so that the time measured from it is
// the program's, not that of starting a helper to click (xdotool takes some 30 ms).
void xtestClick(Display* display, unsigned long window, int x, int y)
{
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

std::size_t samplesIn(const std::filesystem::path& raw)
{
    std::error_code ignored;
    return std::filesystem::file_size(raw, ignored) / sizeof(std::int16_t);
}

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-24s median %5.1f ms  min %5.1f  max %5.1f  (%zu clicks)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    kt5::test::X11Session x11;
    kt5::test::PulseDaemon pulse;
    kt5::test::TempDir home;
    kt5::test::TempDir scratch;
    if (!x11.ready() || !pulse.ready()) {
        std::fprintf(stderr, "Xvfb or PulseAudio did not start\n");
        return 1;
    }
    std::ofstream(home / ".asoundrc")
        << "pcm.!default {\n  type pulse\n  server \"unix:" << pulse.socket().string() << "\"\n}\n";
    const std::vector<std::string> env{"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                       "HOME=" + home.path().string(),
                                       "XDG_RUNTIME_DIR=" + home.path().string()};
    const auto layout = kt5::window::resolveLayout(kt5::window::form1Description());
    const auto& button = *std::find_if(layout.controls.begin(), layout.controls.end(),
                                       [](const auto& c) { return c.index == 3; });
    const int x = (button.windowRect.left + button.windowRect.width / 2) / 15;
    const int y = (button.windowRect.top + button.windowRect.height / 2) / 15;

    // An idle null sink renders in 2 s blocks; the one it began before the server's clock
    // stream joined must end before anything plays promptly.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    std::vector<double> first;
    std::vector<double> later;
    for (int run = 0; run < runs; ++run) {
        const auto raw = scratch / "sink.raw";
        const auto recorder = pulse.record(raw, kRate, 2);
        kt5::test::ChildProcess app({KT5_DTMF_EXE}, env);
        const auto window = x11.waitForWindow(std::string(layout.caption), 10'000);
        if (!window) {
            std::fprintf(stderr, "no window\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // drawn and idle
        for (int click = 0; click < 3; ++click) {
            const std::size_t before = samplesIn(raw);
            const auto clicked = Clock::now();
            xtestClick(x11.display(), *window, x, y);
            const auto heard = firstSound(raw, before);
            if (!heard) {
                std::fprintf(stderr, "no sound after a click\n");
                return 1;
            }
            (click == 0 ? first : later).push_back(Milliseconds(*heard - clicked).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(1200)); // the tone's end
        }
    }
    report("first click after start", first);
    report("later clicks", later);
    return 0;
}
