// libFuzzer target: arbitrary bytes through the checks and the decoding every tone file passes
// before it may reach the sound device.
#include "decoder/wave_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto bytes = std::as_bytes(std::span(reinterpret_cast<const char*>(data), size));
    auto layout = kt5::platform::checkToneFile(bytes);
    if (!layout)
        return 0;
    if (layout->dataOffset + layout->dataBytes > size)
        __builtin_trap(); // a sound said to lie beyond the file
    const kt5::platform::ToneFile file{{bytes.begin(), bytes.end()}, *layout};
    auto sound = kt5::platform::decoder::decodeWave(file);
    if (sound && sound->samples.size() % static_cast<std::size_t>(sound->channels) != 0)
        __builtin_trap(); // a partial frame would shift every channel after it
    return 0;
}
