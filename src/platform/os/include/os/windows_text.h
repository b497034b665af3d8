#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kt5::platform::os {

// UTF-8, the program's text, as the UTF-16 the Windows API takes (back: utf8FromNative).
// Text that is not UTF-8 throughout still reads: each ill-formed sequence becomes U+FFFD, as
// the system's lenient conversion makes it. Text the system cannot convert at all (more than
// INT_MAX bytes, or a refusal) comes back empty.
std::wstring wideFromUtf8(std::string_view utf8);

// What the system says of an error code, in one line: "The system cannot find the file
// specified. (error 2)".
std::string systemErrorText(DWORD error);

} // namespace kt5::platform::os
