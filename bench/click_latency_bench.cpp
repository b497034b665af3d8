// Click-to-sound latency of kt5_dtmf: from a synthetic click (XTEST) on a button to the first
// sound of its tone reaching a private null sink, for the first click after start (which binds
// the audio libraries) and for later ones, on PulseAudio and on PipeWire (through its own ALSA
// plugin, and through pipewire-pulse); beside it, pw-play from its start to its first sound on
// the same PipeWire sink. Prints figures, asserts nothing.
//
//   click_latency_bench [RUNS]
//
// The sink's monitor is recorded in 2 ms fragments and watched as it grows; a sample's time is
// that of its arrival less the samples that arrived after it in the same read, so a figure
// includes at most the recorder's own delivery of one fragment.
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

// Starts of the program on `stack`, each clicked three times: the first click's latency,
// and the later ones'.
bool measureClicks(kt5::test::Stack stack, int runs, kt5::test::X11Session& x11)
{
    const kt5::test::SoundStack sink(stack);
    const kt5::test::TempDir scratch;
    if (!sink.ready()) {
        std::fprintf(stderr, "%s did not start\n", kt5::test::nameOf(stack).c_str());
        return false;
    }
    std::vector<std::string> env = sink.environment();
    env.push_back("DISPLAY=" + x11.displayName());
    const auto layout = kt5::layout::resolveLayout(kt5::window::form1Description());
    const auto& button = *std::find_if(layout.controls.begin(), layout.controls.end(),
                                       [](const auto& c) { return c.index == 3; });
    const int x =
        kt5::layout::pixelsAtReferenceDpi(button.windowRect.left + button.windowRect.width / 2);
    const int y =
        kt5::layout::pixelsAtReferenceDpi(button.windowRect.top + button.windowRect.height / 2);

    // An idle null sink may render in long blocks; the one it began before the stack was
    // ready must end before anything plays promptly.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    std::vector<double> first;
    std::vector<double> later;
    for (int run = 0; run < runs; ++run) {
        const auto raw = scratch / ("sink" + std::to_string(run) + ".raw");
        const auto recorder = sink.record(raw, kRate, 2);
        kt5::test::ChildProcess app({KT5_DTMF_EXE}, env);
        const auto window = x11.waitForWindow(std::string(layout.caption), 10'000);
        if (!window) {
            std::fprintf(stderr, "no window\n");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // drawn and idle
        for (int click = 0; click < 3; ++click) {
            const std::size_t before = samplesIn(raw);
            const auto clicked = Clock::now();
            kt5::bench::xtestClick(x11.display(), *window, x, y);
            const auto heard = firstSound(raw, before);
            if (!heard) {
                std::fprintf(stderr, "no sound after a click\n");
                return false;
            }
            (click == 0 ? first : later).push_back(Milliseconds(*heard - clicked).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(1200)); // the tone's end
        }
    }
    std::printf("%s\n", kt5::test::nameOf(stack).c_str());
    report("  first click after start", first);
    report("  later clicks", later);
    if (stack != kt5::test::Stack::PipeWirePulse)
        return true;
    // pw-play, from its start to its first sound on the same sink.
    std::vector<double> playTool;
    for (int run = 0; run < runs; ++run) {
        const auto raw = scratch / ("pw-play" + std::to_string(run) + ".raw");
        const auto recorder = sink.record(raw, kRate, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const std::size_t before = samplesIn(raw);
        const auto started = Clock::now();
        kt5::test::ChildProcess tool({"pw-play", KT5_TONE_FILE}, sink.environment());
        const auto heard = firstSound(raw, before);
        tool.waitFor(5000);
        if (heard)
            playTool.push_back(Milliseconds(*heard - started).count());
    }
    if (!playTool.empty())
        report("  pw-play, start to sound", playTool);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    kt5::test::X11Session x11;
    if (!x11.ready()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    for (const auto stack : {kt5::test::Stack::PulseAudio, kt5::test::Stack::PipeWireAlsa,
                             kt5::test::Stack::PipeWirePulse})
        if (!measureClicks(stack, runs, x11))
            return 1;
    return 0;
}
