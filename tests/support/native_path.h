#pragma once

#include "platform/native_string.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kt5::test {

// A path written with "/" in UTF-8, as the platform writes it: "/opt/kt5" stays so on
// Linux and becomes L"\opt\kt5" on Windows.
inline platform::NativeString native(std::string_view utf8)
{
    std::filesystem::path path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
    path.make_preferred();
    return path.native();
}

} // namespace kt5::test
