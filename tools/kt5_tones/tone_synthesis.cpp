#include "tone_synthesis.h"

#include "tones/dtmf.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kt5::tools {

using tones::frequenciesOf;
using tones::kHighestDtmfHz;
using tones::kLoudestDbfs;
using tones::kQuietestDbfs;
using tones::kShortestToneMs;

namespace {

constexpr double kRampMs = 5.0;

// Raised-cosine envelope: rises over the first ramp, falls over the last, 1 in between.
double envelope(int i, int length, int ramp)
{
    const int fromEdge = std::min(i, length - 1 - i);
    if (fromEdge >= ramp)
        return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * (fromEdge + 0.5) / ramp);
}

std::string decimal(double value, int places)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}

} // namespace

std::optional<std::string> refusal(const ToneSettings& s)
{
    const auto length = [](const char* what, int value,
                           int shortest) -> std::optional<std::string> {
        const std::string said = std::string(what) + " " + std::to_string(value) + " ms";
        if (value < shortest)
            return said + (shortest == 0 ? " is negative"
                                         : " is too short: a DTMF receiver needs at least " +
                                               std::to_string(shortest) + " ms");
        if (value > kLongestMs)
            return said + " is longer than " + std::to_string(kLongestMs / 1000) + " s";
        return std::nullopt;
    };
    for (auto why : {length("--tone-ms", s.toneMs, kShortestToneMs),
                     length("--gap-ms", s.gapMs, kShortestToneMs), length("--lead-ms", s.leadMs, 0),
                     length("--tail-ms", s.tailMs.value_or(0), 0)})
        if (why)
            return why;

    const std::string level = "--level-dbfs " + decimal(s.levelDbfs, 1);
    if (s.levelDbfs > kLoudestDbfs)
        return level + " is too loud: above " + decimal(kLoudestDbfs, 0) +
               " dBFS per tone a DTMF receiver is overloaded";
    // Both sines of a key reach their peaks together now and then.
    const double clipsAbove = 20 * std::log10(0.5);
    if (s.levelDbfs > clipsAbove)
        return level + " would clip: the two tones of a key add up beyond full scale above " +
               decimal(clipsAbove, 2) + " dBFS each";
    if (s.levelDbfs < kQuietestDbfs)
        return level + " is too quiet: below " + decimal(kQuietestDbfs, 0) +
               " dBFS per tone a DTMF receiver hears nothing";
    const std::string rate = "--rate " + std::to_string(s.rate) + " Hz";
    if (s.rate < kLowestRate)
        return rate + " is too low: DTMF tones reach " + decimal(kHighestDtmfHz, 0) +
               " Hz and need at least " + std::to_string(kLowestRate) + " Hz";
    if (s.rate > kHighestRate)
        return rate + " is beyond " + std::to_string(kHighestRate) + " Hz";
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
    const auto silence = [&](int ms) { return static_cast<std::size_t>(ms * s.rate / 1000); };
    std::vector<std::int16_t> samples(silence(s.leadMs), std::int16_t{0});
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
    if (s.tailMs && !keys.empty())
        samples.resize(samples.size() - static_cast<std::size_t>(gap) + silence(*s.tailMs));
    return samples;
}

} // namespace kt5::tools
