#include "os/executable_directory.h"

#include <windows.h>

namespace kt5::platform::os {

namespace {

// The directory part of a module's full path: "C:\Tools\Dialer\kt5_dtmf.exe" gives
// "C:\Tools\Dialer", and a program at the root of a drive gives "C:\", the one case that
// keeps its trailing separator ("C:" alone would mean that drive's current directory).
std::wstring directoryOfModule(const std::wstring& modulePath)
{
    const auto lastSeparator = modulePath.find_last_of(L"\\/");
    if (lastSeparator == std::wstring::npos)
        return {};
    std::wstring directory = modulePath.substr(0, lastSeparator);
    if (directory.size() == 2 && directory[1] == L':')
        directory += L'\\';
    return directory;
}

} // namespace

NativeString executableDirectory()
{
    // Grown until the whole path fits: long paths exceed MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return directoryOfModule(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace kt5::platform::os
