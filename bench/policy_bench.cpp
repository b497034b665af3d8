// What the playback rules cost a click before any sound: from the call to the moment the
// output is asked to play (the file read and checked, decoded, a thread started), and back
// from the output to the caller; over an output that plays at once, for each built-in tone
// file. A measurement, not a test: it asserts nothing.
//
//   policy_bench [RUNS]
#include "policy/playback_policy.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kt5::platform::policy::Clock;

// Notes when it was asked, and plays at once.
struct InstantOutput final : kt5::platform::policy::SoundOutput {
    kt5::platform::PlaybackResult playWhole(const kt5::platform::decoder::DecodedSound&,
                                            Clock::time_point) override
    {
        asked = Clock::now();
        return {};
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
    for (const char* name : {"00.wav", "03.wav", "10.wav"}) {
        const std::string path = std::string(KT5_TONE_DIR) + "/" + name;
        std::vector<double> toOutput;
        std::vector<double> back;
        for (int run = 0; run < runs; ++run) {
            const auto start = Clock::now();
            if (!service->play(path)) {
                std::printf("%s: not played\n", path.c_str());
                return 1;
            }
            const auto end = Clock::now();
            toOutput.push_back(microseconds(output->asked - start));
            back.push_back(microseconds(end - output->asked));
        }
        std::printf("%s, %d plays:\n", name, runs);
        report("call to output", toOutput);
        report("output to caller", back);
    }
}
