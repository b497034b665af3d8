#include "os/shared_library.h"

#include "os/windows_text.h"

namespace kt5::platform::os {

namespace {

std::wstring wideFromAscii(const char* ascii)
{
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

} // namespace

// From the system directory only: a library of that name beside the program, or in the
// working directory, is never loaded in its place.
SharedLibrary::SharedLibrary(const char* name)
    : name_(name)
    , handle_(LoadLibraryExW(wideFromAscii(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
{
    if (handle_ == nullptr)
        error_ = name_ + ": " + systemErrorText(GetLastError());
}

void (*SharedLibrary::lookUp(const char* symbol))()
{
    if (handle_ == nullptr)
        return nullptr;
    const FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), symbol);
    if (address == nullptr)
        error_ = name_ + ": " + symbol + ": " + systemErrorText(GetLastError());
    return reinterpret_cast<void (*)()>(address);
}

} // namespace kt5::platform::os
