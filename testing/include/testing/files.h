#pragma once

#include "testing/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kt5::test {

inline std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kt5::test
