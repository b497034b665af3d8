#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kt5::platform::os {

// UTF-8, the program's text, as the UTF-16 the Windows API takes (back: utf8FromNative).
std::wstring wideFromUtf8(std::string_view utf8);

// What the system says of an error code, in one line: "The system cannot find the file
// specified. (error 2)".
std::string systemErrorText(DWORD error);

} // namespace kt5::platform::os
