#pragma once

#include <cstdint>
#include <vector>

namespace kt5::platform::decoder {

// A whole sound held in memory as interleaved signed 16-bit samples in host byte order.
struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
    double seconds() const { return sampleRate > 0 ? double(frames()) / sampleRate : 0.0; }
};

} // namespace kt5::platform::decoder
