#pragma once

#include "platform/alsa/audio_libraries.h"
#include "platform/alsa/decoded_sound.h"
#include "platform/alsa/outcome.h"

#include <cstddef>
#include <span>

namespace kt5::platform::alsa {

// Decoded audio larger than this is refused rather than allocated (about six minutes of
// CD-quality stereo).
inline constexpr std::size_t kMaxDecodedBytes = std::size_t{64} << 20;

// Decodes a complete RIFF/WAVE file (plain or WAVE_FORMAT_EXTENSIBLE, any codec libsndfile
// reads: PCM, float, mu-law, A-law, IMA and MS ADPCM, GSM 6.10). Only a whole sound is given:
// other containers under a .wav name, a data chunk cut short by the end of the file, no
// audio at all, implausible rates or channel counts, undecodable samples and decoded sizes
// beyond kMaxDecodedBytes are all refused, each with its reason.
Outcome<DecodedSound> decodeWave(std::span<const std::byte> file, const SndfileApi& sf);

} // namespace kt5::platform::alsa
