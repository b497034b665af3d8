#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kt5::test {

struct Audio {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples; // interleaved
};

// A sine at `hz` in every channel, half of full scale, with a different phase per channel so
// that swapped or dropped channels show.
Audio sine(double hz, double seconds, int sampleRate, int channels);

// Writes `audio` with libsndfile in `format` (SF_FORMAT_* container | codec), full scale
// at 1.0 in float formats.
void writeSound(const std::filesystem::path& path, const Audio& audio, int format);

// Decodes a file with libsndfile's own integer path (right for integer codecs; it does not
// scale float files); empty on failure.
Audio readSound(const std::filesystem::path& path);

void writeBytes(const std::filesystem::path& path, const std::string& bytes);
std::string readBytes(const std::filesystem::path& path);

} // namespace kt5::test
