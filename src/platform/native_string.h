#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kt5::platform {

// Paths travel in the platform's own character type (UTF-8 bytes on Linux, UTF-16 on
// Windows), so a directory name is never squeezed through a narrower code page on its way
// to the file system.
using NativeString = std::filesystem::path::string_type;
using NativeChar = NativeString::value_type;

inline constexpr NativeChar kPathSeparator = std::filesystem::path::preferred_separator;

// Widens a plain ASCII literal such as a tone file name to the native character type.
inline NativeString nativeFromAscii(std::string_view ascii)
{
    return NativeString(ascii.begin(), ascii.end());
}

} // namespace kt5::platform
