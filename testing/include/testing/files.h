#pragma once

// What the tests of both platforms share: temporary directories, files' bytes, and waiting.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <thread>

namespace kt5::test {

// A fresh directory under the system's temporary one, removed with all in it when it goes; on
// both platforms, so by a random name rather than mkdtemp, which Windows lacks.
class TempDir {
public:
    TempDir()
    {
        std::random_device random;
        do
            path_ =
                std::filesystem::temp_directory_path() / ("kt5-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(path_));
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

// Polls `condition` until it holds or `limit` has passed; true when it held.
inline bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace kt5::test
