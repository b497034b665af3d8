#pragma once

#include <filesystem>
#include <string>

namespace kt5::test {

// The DTMF keys that multimon-ng, an independent decoder, hears in a sound file (any format
// sox reads), in order.
std::string dtmfKeysIn(const std::filesystem::path& soundFile);

// The same for raw signed 16-bit little-endian mono audio at `sampleRate`.
std::string dtmfKeysInRaw(const std::filesystem::path& rawFile, int sampleRate);

} // namespace kt5::test
