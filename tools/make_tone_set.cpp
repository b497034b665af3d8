// Writes the built-in tone set: "00.wav" ... "10.wav" holding the key sequences "*00#" ...
// "*10#" as standard DTMF, 16-bit PCM mono at 8000 Hz.
//
//   make_tone_set OUTPUT_DIR
#include <sndfile.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kSampleRate = 8000;
constexpr double kToneSeconds = 0.100;
constexpr double kGapSeconds = 0.100;
constexpr double kRampSeconds = 0.005;
// Each of the two components at -7 dBFS: their sum peaks at about -1 dBFS and never clips.
const double kComponentAmplitude = std::pow(10.0, -7.0 / 20.0);

struct KeyFrequencies {
    char key;
    double low;
    double high;
};

constexpr std::array<KeyFrequencies, 12> kKeys{{
    {'1', 697, 1209},
    {'2', 697, 1336},
    {'3', 697, 1477},
    {'4', 770, 1209},
    {'5', 770, 1336},
    {'6', 770, 1477},
    {'7', 852, 1209},
    {'8', 852, 1336},
    {'9', 852, 1477},
    {'*', 941, 1209},
    {'0', 941, 1336},
    {'#', 941, 1477},
}};

const KeyFrequencies* frequenciesOf(char key)
{
    for (const auto& k : kKeys)
        if (k.key == key)
            return &k;
    return nullptr;
}

// Raised-cosine envelope: rises over the first ramp, falls over the last, 1 in between.
double envelope(int i, int length, int ramp)
{
    const int fromEdge = std::min(i, length - 1 - i);
    if (fromEdge >= ramp)
        return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * (fromEdge + 0.5) / ramp);
}

std::vector<short> synthesize(std::string_view keys)
{
    const int tone = static_cast<int>(kToneSeconds * kSampleRate);
    const int gap = static_cast<int>(kGapSeconds * kSampleRate);
    const int ramp = static_cast<int>(kRampSeconds * kSampleRate);
    std::vector<short> samples;
    for (char key : keys) {
        const KeyFrequencies* f = frequenciesOf(key);
        for (int i = 0; i < tone; ++i) {
            const double t = double(i) / kSampleRate;
            const double value = kComponentAmplitude * envelope(i, tone, ramp) *
                                 (std::sin(2 * std::numbers::pi * f->low * t) +
                                  std::sin(2 * std::numbers::pi * f->high * t));
            samples.push_back(static_cast<short>(std::lround(value * 32767.0)));
        }
        samples.insert(samples.end(), static_cast<std::size_t>(gap), short{0});
    }
    return samples;
}

bool writeWave(const std::string& path, const std::vector<short>& samples)
{
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const std::unique_ptr<SNDFILE, decltype(&sf_close)> file(
        sf_open(path.c_str(), SFM_WRITE, &info), &sf_close);
    if (!file) {
        std::fprintf(stderr, "make_tone_set: %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    const auto count = static_cast<sf_count_t>(samples.size());
    return sf_write_short(file.get(), samples.data(), count) == count;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_tone_set OUTPUT_DIR\n");
        return 2;
    }
    const std::string directory = argv[1];
    for (int command = 0; command <= 10; ++command) {
        char name[8];
        char keys[8];
        std::snprintf(name, sizeof name, "%02d.wav", command);
        std::snprintf(keys, sizeof keys, "*%02d#", command);
        if (!writeWave(directory + "/" + name, synthesize(keys)))
            return 1;
    }
    return 0;
}
