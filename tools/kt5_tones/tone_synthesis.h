#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt5::tools {

// How tones are made: each key a tone of both its frequencies, each at `levelDbfs` (the peak
// of that sine against full scale), with short raised-cosine ramps, then a gap of silence.
// Tone and gap lengths are between the points at half the tone's amplitude. Before the first
// key come `leadMs` of digital silence, for an output or a transmitter that loses the start
// of a sound while it wakes; after the last key's tone, `tailMs` of it instead of its gap.
struct ToneSettings {
    int toneMs = 100;
    int gapMs = 100;
    double levelDbfs = -7.0;
    int rate = 8000;
    int leadMs = 0;
    std::optional<int> tailMs; // none: the last key has its gap, like every other
};

// What the settings may be beyond a DTMF receiver's own limits (tones/): no silence or tone
// longer than 10 s, and a rate from one that holds the highest DTMF frequency, below half the
// rate with room for a filter's slope, to the highest that sound cards take.
inline constexpr int kLongestMs = 10'000;
inline constexpr int kLowestRate = 8000;
inline constexpr int kHighestRate = 192'000;

// Why a DTMF receiver could not take tones made so, or nothing when it could.
std::optional<std::string> refusal(const ToneSettings& settings);

// 16-bit mono samples of `keys` played one after another.
std::vector<std::int16_t> synthesize(std::string_view keys, const ToneSettings& settings);

} // namespace kt5::tools
