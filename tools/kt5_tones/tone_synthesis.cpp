#include "tone_synthesis.h"

#include "dtmf_keys.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kt5::tools {

namespace {

constexpr int kLongestMs = 10'000;
constexpr int kLowestRate = 8000; // the highest DTMF frequency needs 8 kHz to be heard
constexpr int kHighestRate = 192'000;
constexpr double kRampMs = 5.0;

// Raised-cosine envelope: rises over the first ramp, falls over the last, 1 in between.
double envelope(int i, int length, int ramp)
{
    const int fromEdge = std::min(i, length - 1 - i);
    if (fromEdge >= ramp)
        return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * (fromEdge + 0.5) / ramp);
}

} // namespace

std::optional<std::string> refusal(const ToneSettings& s)
{
    const auto ms = [](const char* what, int value) -> std::optional<std::string> {
        if (value < kShortestToneMs)
            return std::string(what) + " " + std::to_string(value) +
                   " ms is too short: a DTMF receiver needs at least 40 ms";
        if (value > kLongestMs)
            return std::string(what) + " " + std::to_string(value) + " ms is longer than 10 s";
        return std::nullopt;
    };
    if (auto tone = ms("--tone-ms", s.toneMs))
        return tone;
    if (auto gap = ms("--gap-ms", s.gapMs))
        return gap;
    char level[48];
    std::snprintf(level, sizeof level, "--level-dbfs %.1f", s.levelDbfs);
    if (s.levelDbfs > kLoudestDbfs)
        return std::string(level) +
               " is too loud: above -3 dBFS per tone a DTMF receiver is overloaded";
    // Both sines of a key reach their peaks together now and then.
    if (2 * std::pow(10.0, s.levelDbfs / 20) > 1.0)
        return std::string(level) +
               " would clip: the two tones of a key add up beyond full scale above "
               "-6.02 dBFS each";
    if (s.levelDbfs < kQuietestDbfs)
        return std::string(level) +
               " is too quiet: below -30 dBFS per tone a DTMF receiver hears nothing";
    if (s.rate < kLowestRate)
        return "--rate " + std::to_string(s.rate) +
               " Hz is too low: DTMF tones reach 1633 Hz and need at least 8000 Hz";
    if (s.rate > kHighestRate)
        return "--rate " + std::to_string(s.rate) + " Hz is beyond 192000 Hz";
    return std::nullopt;
}

std::vector<std::int16_t> synthesize(std::string_view keys, const ToneSettings& s)
{
    // The ramps straddle the edges, so that between the points at half its amplitude, where
    // a receiver sees it begin and end, the tone lasts toneMs and the gap gapMs.
    const int ramp = static_cast<int>(kRampMs * s.rate / 1000);
    const int tone = s.toneMs * s.rate / 1000 + ramp;
    const int gap = s.gapMs * s.rate / 1000 - ramp;
    const double amplitude = std::pow(10.0, s.levelDbfs / 20);
    std::vector<std::int16_t> samples;
    for (const char key : keys) {
        const auto pair = frequenciesOf(key);
        for (int i = 0; pair && i < tone; ++i) {
            const double t = double(i) / s.rate;
            const double value = amplitude * envelope(i, tone, ramp) *
                                 (std::sin(2 * std::numbers::pi * pair->low * t) +
                                  std::sin(2 * std::numbers::pi * pair->high * t));
            samples.push_back(static_cast<std::int16_t>(std::lround(value * 32767.0)));
        }
        samples.insert(samples.end(), static_cast<std::size_t>(gap), std::int16_t{0});
    }
    return samples;
}

} // namespace kt5::tools
