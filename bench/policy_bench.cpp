// What the playback rules cost a click before any sound: from the call to the moment the
// output is asked to play (the file read and checked, decoded, a thread started), and back
// from the output to the caller; over an output that plays at once, for a built-in tone file
// and for the same tone in the other kinds of wave file a user may bring (made by sox). A
// measurement, not a test: it asserts nothing.
//
//   policy_bench [RUNS]
#include "decoder/wave_decoder.h"
#include "policy/playback_policy.h"
#include "testing/files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using kt5::platform::policy::Clock;

// Decodes a tone as ALSA's output does; notes when it was asked to play, and plays at once.
struct InstantOutput final : kt5::platform::policy::SoundOutput {
    kt5::platform::Outcome<kt5::platform::policy::ReadySound>
    prepare(kt5::platform::ToneFile file) override
    {
        auto sound = kt5::platform::decoder::decodeWave(file);
        if (!sound)
            return sound.failure();
        return kt5::platform::policy::ReadySound{sound->frames(),
                                                 static_cast<std::uint32_t>(sound->sampleRate),
                                                 [this](Clock::time_point) {
                                                     asked = Clock::now();
                                                     return kt5::platform::PlaybackResult{};
                                                 }};
    }
    Clock::time_point asked;
};

double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

void report(const char* what, std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    std::printf("  %-22s median %7.1f us  95th %7.1f us  max %7.1f us\n", what, us[us.size() / 2],
                us[us.size() * 95 / 100], us.back());
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(20, std::atoi(argv[1])) : 200;
    const auto output = std::make_shared<InstantOutput>();
    const auto service = kt5::platform::policy::createPolicedService(output);
    const kt5::test::TempDir dir;
    const std::string builtIn = std::string(KT5_TONE_DIR) + "/03.wav";
    const std::pair<const char*, const char*> kinds[] = {
        {"16-bit, 8 kHz (built in)", nullptr},
        {"24-bit stereo, 192 kHz", "-b 24 -c 2 -r 192000"},
        {"32-bit float, 48 kHz", "-e floating-point -b 32 -r 48000"},
        {"IMA ADPCM, 8 kHz", "-e ima-adpcm"},
        {"u-law, 8 kHz", "-e u-law"},
    };
    for (const auto& [kind, soxOptions] : kinds) {
        std::string path = builtIn;
        if (soxOptions != nullptr) {
            path = (dir / "tone.wav").string();
            const std::string make = "sox " + builtIn + " " + soxOptions + " -t wav " + path;
            if (std::system(make.c_str()) != 0) {
                std::printf("%s: sox could not make it\n", kind);
                continue;
            }
        }
        std::vector<double> toOutput;
        std::vector<double> back;
        for (int run = 0; run < runs; ++run) {
            const auto start = Clock::now();
            if (!service->play(path)) {
                std::printf("%s: not played\n", kind);
                return 1;
            }
            const auto end = Clock::now();
            toOutput.push_back(microseconds(output->asked - start));
            back.push_back(microseconds(end - output->asked));
        }
        std::printf("03.wav as %s, %d plays:\n", kind, runs);
        report("call to output", toOutput);
        report("output to caller", back);
    }
}
