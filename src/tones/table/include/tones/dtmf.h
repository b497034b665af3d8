#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace kt5::tones {

// What a standard DTMF receiver takes: tones, and pauses between them, at least this long,
// and each of a key's two tones between these levels (the peak of its sine against full
// scale): louder overloads it, quieter is under its threshold.
inline constexpr int kShortestToneMs = 40;
inline constexpr double kLoudestDbfs = -3;
inline constexpr double kQuietestDbfs = -30;

// A DTMF key's two frequencies, in Hz: one of the low (row) group, one of the high (column).
struct DtmfPair {
    double low;
    double high;
};

inline constexpr std::array<std::pair<char, DtmfPair>, 16> kDtmfKeys{{
    {'1', {697, 1209}},
    {'2', {697, 1336}},
    {'3', {697, 1477}},
    {'A', {697, 1633}},
    {'4', {770, 1209}},
    {'5', {770, 1336}},
    {'6', {770, 1477}},
    {'B', {770, 1633}},
    {'7', {852, 1209}},
    {'8', {852, 1336}},
    {'9', {852, 1477}},
    {'C', {852, 1633}},
    {'*', {941, 1209}},
    {'0', {941, 1336}},
    {'#', {941, 1477}},
    {'D', {941, 1633}},
}};

inline constexpr double kHighestDtmfHz = [] {
    double highest = 0;
    for (const auto& [key, pair] : kDtmfKeys)
        highest = std::max(highest, pair.high);
    return highest;
}();

constexpr std::optional<DtmfPair> frequenciesOf(char key)
{
    for (const auto& [k, pair] : kDtmfKeys)
        if (k == key)
            return pair;
    return std::nullopt;
}

} // namespace kt5::tones
