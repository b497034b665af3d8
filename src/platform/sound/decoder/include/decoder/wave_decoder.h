#pragma once

#include "decoder/decoded_sound.h"
#include "tone_file/tone_file.h"

#include <cstddef>

namespace kt5::platform::decoder {

// Decoded audio larger than this is refused rather than allocated (about six minutes of
// CD-quality stereo).
inline constexpr std::size_t kMaxDecodedBytes = std::size_t{64} << 20;

// Decodes a checked tone file with libsndfile (any codec it reads in RIFF/WAVE, plain or
// WAVE_FORMAT_EXTENSIBLE: PCM, float, mu-law, A-law, IMA and MS ADPCM, GSM 6.10). Only a whole
// sound is given: no audio at all, undecodable samples and decoded sizes beyond
// kMaxDecodedBytes are refused, each with its reason. libsndfile is bound by name at the first
// call; without it the result says so.
Outcome<DecodedSound> decodeWave(const ToneFile& file);

} // namespace kt5::platform::decoder
