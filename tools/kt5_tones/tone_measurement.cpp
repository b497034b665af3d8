// Measuring tones on a file's own samples at a key's two frequencies: a Hann-windowed Goertzel
// envelope, about a tenth of a millisecond close.
#include "tone_measurement.h"

#include "tones/dtmf.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace kt5::tools {

namespace {

// The amplitude of the sine at `hz` in samples [from, from + count), against full scale; the
// file is silent before its start and after its end. Hann-windowed, so that the key's other
// tone and the sine's own image do not leak in.
double amplitudeAt(const Sound& sound, long from, long count, double hz)
{
    double re = 0;
    double im = 0;
    double weights = 0;
    const auto size = static_cast<long>(sound.mono.size());
    for (long i = 0; i < count; ++i) {
        const double weight =
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * (double(i) + 0.5) / double(count));
        weights += weight;
        if (from + i < 0 || from + i >= size)
            continue;
        const double phase = 2 * std::numbers::pi * hz * double(i) / sound.rate;
        const double sample = weight * sound.mono[static_cast<std::size_t>(from + i)];
        re += sample * std::cos(phase);
        im += sample * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / weights;
}

} // namespace

Tone measure(const Sound& sound, const Tone& heard, double notBeforeMs, double notAfterMs)
{
    const auto pair = *tones::frequenciesOf(heard.key);
    const auto samples = [&](double ms) { return std::lround(ms * sound.rate / 1000); };
    const long window = samples(20);
    const long hop = std::max(1L, samples(1));
    const long from = samples(std::max(notBeforeMs, heard.startMs - 60)) - window / 2;
    const long to = samples(std::min(notAfterMs, heard.endMs + 10)) + window / 2;
    std::vector<std::pair<long, double>> envelope; // window centre, amplitude of both tones
    for (long at = from; at + window <= to; at += hop)
        envelope.emplace_back(at + window / 2, amplitudeAt(sound, at, window, pair.low) +
                                                   amplitudeAt(sound, at, window, pair.high));
    Tone tone = heard;
    if (envelope.empty())
        return tone;
    const double peak = std::max_element(envelope.begin(), envelope.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                        })->second;
    // Where the envelope crosses half the peak, between the two windows on either side.
    const auto loud = [&](const auto& point) { return point.second >= peak / 2; };
    const auto crossing = [&](const auto& outside, const auto& inside) {
        const double share = (peak / 2 - outside.second) / (inside.second - outside.second);
        return 1000.0 * (double(outside.first) + share * double(inside.first - outside.first)) /
               sound.rate;
    };
    const auto up = std::find_if(envelope.begin(), envelope.end(), loud);
    const auto down = std::find_if(envelope.rbegin(), envelope.rend(), loud);
    const long first = up->first;
    const long last = down->first;
    tone.startMs = up == envelope.begin() ? 1000.0 * double(first) / sound.rate
                                          : crossing(*std::prev(up), *up);
    tone.endMs = down == envelope.rbegin() ? 1000.0 * double(last) / sound.rate
                                           : crossing(*std::prev(down), *down);

    // The steady middle, 10 ms in from each edge, or the whole of a tone too short for that.
    const bool room = last - first > 3 * window;
    const long start = room ? first + window : first;
    const long count = room ? last - first - 2 * window : std::max(window, last - first);
    tone.lowDbfs = 20 * std::log10(amplitudeAt(sound, start, count, pair.low));
    tone.highDbfs = 20 * std::log10(amplitudeAt(sound, start, count, pair.high));
    return tone;
}

std::pair<double, double> silentEnds(const Sound& sound)
{
    const auto isSound = [](float sample) { return sample != 0.0f; };
    const auto first = std::find_if(sound.mono.begin(), sound.mono.end(), isSound);
    const auto last = std::find_if(sound.mono.rbegin(), sound.mono.rend(), isSound);
    const auto ms = [&](auto samples) { return 1000.0 * double(samples) / sound.rate; };
    return {ms(first - sound.mono.begin()), ms(last - sound.mono.rbegin())};
}

} // namespace kt5::tools
