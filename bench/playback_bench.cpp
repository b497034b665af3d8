// Wall time of playing one tone file synchronously, against aplay and paplay playing the same
// file, all on a private null sink clocked in real time, of PulseAudio and of PipeWire (through
// pipewire-pulse). Prints the overhead beyond the audio's own length. A measurement, not a
// test: it asserts nothing.
//
//   playback_bench [FILE] [RUNS]
#include "platform/sound_service.h"
#include "product/product.h"
#include "testing/child_process.h"
#include "testing/files.h"
#include "testing/sound_stacks.h"
#include "tone_file/tone_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()>& body)
{
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* name, std::vector<double> wallMs, double audioMs)
{
    std::sort(wallMs.begin(), wallMs.end());
    const double median = wallMs[wallMs.size() / 2];
    std::printf("%-28s overhead median %6.1f ms  min %6.1f ms  max %6.1f ms\n", name,
                median - audioMs, wallMs.front() - audioMs, wallMs.back() - audioMs);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string file = argc > 1 ? argv[1] : KT5_TONE_DIR "/00.wav";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    const auto tone = kt5::platform::readToneFile(file);
    if (!tone) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
    }
    const double audioMs = 1000.0 * tone->layout.seconds();

    for (const kt5::test::Stack stack :
         {kt5::test::Stack::PulseAudio, kt5::test::Stack::PipeWirePulse}) {
        const kt5::test::SoundStack sink(stack);
        if (!sink.ready()) {
            std::fprintf(stderr, "%s did not start\n", kt5::test::nameOf(stack).c_str());
            return 1;
        }
        sink.useInThisProcess();
        const auto runTool = [&](const std::vector<std::string>& command) {
            kt5::test::ChildProcess(command, sink.environment()).waitFor(30'000);
        };
        const auto service = kt5::platform::createSoundService(
            {kt5::product::kDisplayName, kt5::product::kDesktopId});
        std::vector<double> ours;
        std::vector<double> aplay;
        std::vector<double> paplay;
        service->play(file); // warm-up: binds the libraries and meets the server
        for (int i = 0; i < runs; ++i) {
            ours.push_back(millisecondsOf([&] { service->play(file); }));
            aplay.push_back(millisecondsOf([&] { runTool({"aplay", "-q", file}); }));
            paplay.push_back(millisecondsOf([&] { runTool({"paplay", file}); }));
        }
        std::printf("%s: %.0f ms of audio, %d runs each, %s null sink\n", file.c_str(), audioMs,
                    runs, kt5::test::nameOf(stack).c_str());
        report("kt5_dtmf sound service", ours, audioMs);
        report("aplay (incl. process start)", aplay, audioMs);
        report("paplay (incl. process start)", paplay, audioMs);
    }
    return 0;
}
