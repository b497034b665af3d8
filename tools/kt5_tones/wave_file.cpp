#include "wave_file.h"

#include "os/command_line.h"

#include <fstream>
#include <system_error>

namespace kt5::tools {

namespace {

void put(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::optional<std::string> writeWaveFile(const std::filesystem::path& path,
                                         std::span<const std::int16_t> samples, int rate)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::filesystem::path temporary = path;
    temporary.replace_filename("." + path.filename().string() + ".part"); // an ASCII name
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << "RIFF";
        put(out, 36 + dataBytes, 4);
        out << "WAVEfmt ";
        put(out, 16, 4); // the size of the format chunk
        put(out, 1, 2);  // PCM
        put(out, 1, 2);  // mono
        put(out, static_cast<std::uint32_t>(rate), 4);
        put(out, static_cast<std::uint32_t>(rate) * 2, 4); // bytes a second
        put(out, 2, 2);                                    // bytes a frame
        put(out, 16, 2);                                   // bits a sample
        out << "data";
        put(out, dataBytes, 4);
        for (const std::int16_t sample : samples)
            put(out, static_cast<std::uint16_t>(sample), 2);
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + platform::os::argumentFromPath(temporary);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        const std::string why =
            "cannot replace " + platform::os::argumentFromPath(path) + ": " + error.message();
        std::filesystem::remove(temporary, error);
        return why;
    }
    return std::nullopt;
}

} // namespace kt5::tools
