#include "platform/win32/win32_sound_service.h"

#include <mmsystem.h>
#include <windows.h>

namespace kt5::platform::win32 {

namespace {

// The short form of an existing file's path. Multimedia file I/O that still opens files
// through the ANSI code page behind the wide-character call (Wine's does) cannot reach a
// directory named outside that code page; its short name is plain ASCII. Where there is no
// short form, the path itself.
std::wstring shortFormOf(const std::wstring& path)
{
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (length == 0 || length >= needed)
        return path;
    shortPath.resize(length);
    return shortPath;
}

} // namespace

bool Win32SoundService::bind()
{
    if (playSound_ != nullptr)
        return true;
    winmm_.reset(LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!winmm_)
        return false;
    // Through the generic function pointer type, the one a FARPROC may be cast to.
    playSound_ = reinterpret_cast<PlaySoundFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(winmm_.get(), "PlaySoundW")));
    return playSound_ != nullptr;
}

bool Win32SoundService::playFileSync(const NativeString& path)
{
    if (!bind())
        return false;
    // The wide-character call: squeezed through the ANSI code page, a directory name outside
    // it would be lost or, mapped to look-alike characters, name another file. No module
    // handle: only resource sounds use one.
    constexpr DWORD kFlags = SND_FILENAME | SND_NOSTOP | SND_NODEFAULT; // synchronous: no SND_ASYNC
    return playSound_(shortFormOf(path).c_str(), nullptr, kFlags) != FALSE;
}

} // namespace kt5::platform::win32

namespace kt5::platform {

std::unique_ptr<SoundService> createSoundService()
{
    return std::make_unique<win32::Win32SoundService>();
}

} // namespace kt5::platform
