#pragma once

#include "platform/alsa/decoded_sound.h"

#include <cstddef>
#include <optional>
#include <span>

namespace kt5::platform::alsa {

// Decoded audio larger than this is refused rather than allocated (about six minutes of
// CD-quality stereo).
inline constexpr std::size_t kMaxDecodedBytes = std::size_t{64} << 20;

// Decodes a complete RIFF/WAVE file (plain or WAVE_FORMAT_EXTENSIBLE, any codec libsndfile
// reads: PCM, float, mu-law, A-law, IMA and MS ADPCM, GSM 6.10). Empty unless the whole sound
// decoded: other containers under a .wav name, a data chunk cut short by the end of the
// file, no audio at all, implausible rates or channel counts, and decoded sizes beyond
// kMaxDecodedBytes are all refused.
std::optional<DecodedSound> decodeWave(std::span<const std::byte> file);

} // namespace kt5::platform::alsa
