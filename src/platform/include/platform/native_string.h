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

// Text as UTF-8, for a message: Linux paths are bytes already; Windows text is UTF-16,
// converted by hand here rather than through the standard library's locale machinery, which
// would more than treble the size of the program. A surrogate without its other half (file
// names may hold one) becomes U+FFFD, as the system's own conversion makes it.
inline std::string utf8FromNative(const std::string& bytes)
{
    return bytes;
}

inline std::string utf8FromNative(std::wstring_view utf16)
{
    const auto isLow = [](char32_t c) { return c >= 0xDC00 && c < 0xE000; };
    std::string utf8;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = static_cast<char16_t>(utf16[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() &&
            isLow(static_cast<char16_t>(utf16[i + 1])))
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(utf16[++i]) - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

} // namespace kt5::platform
