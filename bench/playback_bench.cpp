// Wall time of playing one tone file synchronously, against aplay and paplay playing the same
// file, all on a private PulseAudio null sink clocked in real time. Prints the overhead beyond
// the audio's own length. A measurement, not a test: it asserts nothing.
//
//   playback_bench [FILE] [RUNS]
#include "platform/alsa/alsa_sound_service.h"
#include "support/child_process.h"
#include "support/files.h"
#include "support/sound_servers.h"

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
    const kt5::test::Audio audio = kt5::test::readSound(file);
    if (audio.samples.empty()) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
    }
    const double audioMs =
        1000.0 * double(audio.samples.size()) / audio.channels / audio.sampleRate;

    kt5::test::PulseDaemon daemon;
    if (!daemon.ready()) {
        std::fprintf(stderr, "PulseAudio did not start\n");
        return 1;
    }
    kt5::test::TempDir home;
    kt5::test::redirectAlsaDefault(home.path(), kt5::test::alsaToPulseServer(daemon.socket()));
    const std::vector<std::string> env = {"PATH=/usr/bin:/bin", "HOME=" + home.path().string(),
                                          "PULSE_SERVER=unix:" + daemon.socket().string()};
    auto runTool = [&](const std::vector<std::string>& command) {
        kt5::test::ChildProcess tool(command, env);
        tool.waitFor(30'000);
    };

    kt5::platform::alsa::AlsaSoundService sound;
    std::vector<double> ours;
    std::vector<double> aplay;
    std::vector<double> paplay;
    sound.play(file); // warm-up: binds the libraries and meets the server
    for (int i = 0; i < runs; ++i) {
        ours.push_back(millisecondsOf([&] { sound.play(file); }));
        aplay.push_back(millisecondsOf([&] { runTool({"aplay", "-q", file}); }));
        paplay.push_back(millisecondsOf([&] { runTool({"paplay", file}); }));
    }

    std::printf("%s: %.0f ms of audio, %d runs each, PulseAudio null sink\n", file.c_str(), audioMs,
                runs);
    report("kt5_dtmf sound service", ours, audioMs);
    report("aplay (incl. process start)", aplay, audioMs);
    report("paplay (incl. process start)", paplay, audioMs);
    return 0;
}
