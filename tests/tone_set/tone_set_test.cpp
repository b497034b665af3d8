// The tone set the build generates, checked by an independent DTMF decoder (multimon-ng) and
// by measuring the signal itself.
#include "support/dtmf_decoder.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;

const fs::path kToneDir = KT5_TONE_DIR;

struct ToneFile {
    std::string file;
    std::string keys;
};

std::vector<ToneFile> builtInToneSet()
{
    std::vector<ToneFile> set;
    for (int i = 0; i <= 10; ++i) {
        char file[8];
        char keys[8];
        std::snprintf(file, sizeof file, "%02d.wav", i);
        std::snprintf(keys, sizeof keys, "*%02d#", i);
        set.push_back({file, keys});
    }
    return set;
}

class ToneSetFile : public testing::TestWithParam<ToneFile> {};

TEST_P(ToneSetFile, IndependentDecoderHearsExactlyTheKeys)
{
    EXPECT_EQ(dtmfKeysIn(kToneDir / GetParam().file), GetParam().keys);
}

struct Burst {
    std::size_t begin;
    std::size_t end;
};

// Runs of sound separated by runs of digital silence.
std::vector<Burst> bursts(const std::vector<std::int16_t>& s)
{
    std::vector<Burst> result;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        // A burst ends at the first run of 8 zero samples (1 ms at 8 kHz).
        while (end < s.size() &&
               !std::all_of(s.begin() + end, s.begin() + std::min(end + 8, s.size()),
                            [](std::int16_t v) { return v == 0; }))
            ++end;
        result.push_back({i, end});
        i = end;
    }
    return result;
}

// The strongest frequency within [lo, hi], found by a Hann-windowed DFT scan in 0.5 Hz steps.
double peakFrequency(const std::vector<std::int16_t>& s, Burst b, int rate, double lo, double hi)
{
    double best = 0;
    double bestPower = -1;
    const std::size_t n = b.end - b.begin;
    for (double f = lo; f <= hi; f += 0.5) {
        double re = 0;
        double im = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1));
            const double phase = 2 * std::numbers::pi * f * double(i) / rate;
            re += w * s[b.begin + i] * std::cos(phase);
            im += w * s[b.begin + i] * std::sin(phase);
        }
        if (re * re + im * im > bestPower) {
            bestPower = re * re + im * im;
            best = f;
        }
    }
    return best;
}

std::pair<double, double> dtmfPair(char key)
{
    const std::string layout = "123456789*0#";
    const double rows[] = {697, 770, 852, 941};
    const double columns[] = {1209, 1336, 1477};
    const auto at = layout.find(key);
    return {rows[at / 3], columns[at % 3]};
}

TEST_P(ToneSetFile, FrequenciesDurationsAndLevelsAreWithinTheDtmfStandard)
{
    const Audio audio = readSound(kToneDir / GetParam().file);
    ASSERT_EQ(audio.channels, 1);
    const int rate = audio.sampleRate;
    const auto& s = audio.samples;

    const auto found = bursts(s);
    ASSERT_EQ(found.size(), GetParam().keys.size());
    for (std::size_t k = 0; k < found.size(); ++k) {
        const char key = GetParam().keys[k];
        const auto [row, column] = dtmfPair(key);
        const double toneMs = 1000.0 * double(found[k].end - found[k].begin) / rate;
        EXPECT_GE(toneMs, 40.0) << "tone of key " << key;
        const std::size_t gapEnd = k + 1 < found.size() ? found[k + 1].begin : s.size();
        EXPECT_GE(1000.0 * double(gapEnd - found[k].end) / rate, 40.0) << "gap after " << key;

        EXPECT_NEAR(peakFrequency(s, found[k], rate, 650, 1000), row, row * 0.015) << key;
        EXPECT_NEAR(peakFrequency(s, found[k], rate, 1150, 1550), column, column * 0.015) << key;
    }
    const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    EXPECT_GT(*lo, -32768) << "clipped";
    EXPECT_LT(*hi, 32767) << "clipped";
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, ToneSetFile, testing::ValuesIn(builtInToneSet()),
                         [](const auto& row) { return "Command" + row.param.file.substr(0, 2); });

} // namespace
} // namespace kt5::test
