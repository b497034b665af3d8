#include "support/wave_files.h"

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <stdexcept>

namespace kt5::test {

namespace {

using SndfilePtr = std::unique_ptr<SNDFILE, decltype(&sf_close)>;

} // namespace

Audio sine(double hz, double seconds, int sampleRate, int channels)
{
    Audio audio{sampleRate, channels, {}};
    const auto frames = static_cast<int>(seconds * sampleRate);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            audio.samples.push_back(static_cast<std::int16_t>(std::lround(
                16000.0 * std::sin(2 * std::numbers::pi * hz * i / sampleRate + c * 0.7))));
    return audio;
}

void writeSound(const std::filesystem::path& path, const Audio& audio, int format)
{
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = audio.channels;
    info.format = format;
    SndfilePtr file(sf_open(path.c_str(), SFM_WRITE, &info), &sf_close);
    if (!file)
        throw std::runtime_error("cannot write " + path.string() + ": " + sf_strerror(nullptr));
    // Written as normalised floats, the way editors write float files; libsndfile would store
    // shorts in a float file unscaled.
    std::vector<float> normalised;
    for (const std::int16_t s : audio.samples)
        normalised.push_back(float(s) / 32768.0f);
    const auto frames = static_cast<sf_count_t>(audio.samples.size() / audio.channels);
    if (sf_writef_float(file.get(), normalised.data(), frames) != frames)
        throw std::runtime_error("short write to " + path.string());
}

Audio readSound(const std::filesystem::path& path)
{
    SF_INFO info{};
    SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info), &sf_close);
    if (!file)
        return {};
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    Audio audio{info.samplerate, info.channels, {}};
    std::int16_t buffer[4096];
    sf_count_t n = 0;
    while ((n = sf_read_short(file.get(), buffer, 4096 - 4096 % info.channels)) > 0)
        audio.samples.insert(audio.samples.end(), buffer, buffer + n);
    return audio;
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kt5::test
