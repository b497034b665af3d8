#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace kt5::tools {

// Writes 16-bit PCM mono `samples` at `rate` as a RIFF/WAVE file at `path`, whole or not at
// all: into a temporary file beside it, then renamed over it, so that a tone file that was
// there is never left half-written. What failed, or nothing.
std::optional<std::string> writeWaveFile(const std::filesystem::path& path,
                                         std::span<const std::int16_t> samples, int rate);

} // namespace kt5::tools
