#pragma once

#include <sndfile.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kt5::test {

// A fresh directory under the system's temporary one, removed with all in it when it goes.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kt5-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const
    {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Audio {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples; // interleaved
};

// A sound file read with libsndfile as 16-bit samples; empty when it is not a sound.
inline Audio readSound(const std::filesystem::path& path)
{
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, decltype(&sf_close)> file(sf_open(path.c_str(), SFM_READ, &info),
                                                             &sf_close);
    if (!file)
        return {};
    Audio audio{info.samplerate, info.channels,
                std::vector<std::int16_t>(static_cast<std::size_t>(info.frames * info.channels))};
    audio.samples.resize(static_cast<std::size_t>(
        sf_read_short(file.get(), audio.samples.data(), info.frames * info.channels)));
    return audio;
}

} // namespace kt5::test
