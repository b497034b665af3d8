#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt5::tools {

// How tones are made: each key a tone of both its frequencies, each at `levelDbfs` (the peak
// of that sine against full scale), with short raised-cosine ramps, then a gap of silence.
// Lengths are between the points at half the tone's amplitude.
struct ToneSettings {
    int toneMs = 100;
    int gapMs = 100;
    double levelDbfs = -7.0;
    int rate = 8000;
};

// Why a DTMF receiver could not take tones made so, or nothing when it could.
std::optional<std::string> refusal(const ToneSettings& settings);

// 16-bit mono samples of `keys` played one after another.
std::vector<std::int16_t> synthesize(std::string_view keys, const ToneSettings& settings);

} // namespace kt5::tools
