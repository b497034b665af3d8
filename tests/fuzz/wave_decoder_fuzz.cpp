// libFuzzer target: arbitrary bytes through the validation and decoding every tone file
// passes before it may reach the sound device.
#include "platform/alsa/wave_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto sound = kt5::platform::alsa::decodeWave(
        std::as_bytes(std::span(reinterpret_cast<const char*>(data), size)),
        *kt5::platform::alsa::bindAudioLibraries().sndfile.api);
    if (sound && sound->samples.size() % static_cast<std::size_t>(sound->channels) != 0)
        __builtin_trap(); // a partial frame would shift every channel after it
    return 0;
}
