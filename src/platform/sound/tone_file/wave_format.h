#pragma once

#include "tone_file/tone_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kt5::platform {

// A little-endian field of `size` bytes at `at`, which the caller has checked lies in `bytes`.
std::uint32_t readLe(std::span<const std::byte> bytes, std::size_t at, std::size_t size);

// The fields of a `fmt ` chunk's body, or why they cannot describe a tone's sound.
Outcome<WaveFormat> readWaveFormat(std::span<const std::byte> body);

// The frames that `dataBytes` of sound in `format` hold; `factFrames` is the count of the
// file's `fact` chunk, where it has one.
std::uint64_t framesOf(const WaveFormat& format, std::size_t dataBytes,
                       std::optional<std::uint32_t> factFrames);

// How long the header's byte rate says `dataBytes` last, where that contradicts the format
// itself; nothing where it agrees, or where the format says nothing more.
std::optional<double> secondsByAWrongByteRate(const WaveFormat& format, std::size_t dataBytes);

} // namespace kt5::platform
