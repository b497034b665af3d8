#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kt5::platform::win32 {

// UTF-8, the program's text, as the UTF-16 the Windows API takes (back: utf8FromNative).
std::wstring wideFromUtf8(std::string_view utf8);

// What the system says of an error code, in one line: "The system cannot find the file
// specified. (error 2)".
std::string systemErrorText(DWORD error);

// The directory part of a module's full path: "C:\Tools\Dialer\kt5_dtmf.exe" gives
// "C:\Tools\Dialer", and a program at the root of a drive gives "C:\", the one case that
// keeps its trailing separator.
std::wstring directoryOfModule(const std::wstring& modulePath);

} // namespace kt5::platform::win32
