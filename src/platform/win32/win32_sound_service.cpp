#include "platform/win32/win32_sound_service.h"

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text.h"

#include <mmsystem.h>
#include <windows.h>

namespace kt5::platform::win32 {

namespace {

using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

struct PlaySoundBinding {
    UniqueLibrary winmm;
    PlaySoundFunction playSound = nullptr;
    std::string error;
};

// Bound once, on whichever thread asks first; kept for the rest of the run.
const PlaySoundBinding& playSoundBinding()
{
    static const PlaySoundBinding binding = [] {
        PlaySoundBinding b;
        b.winmm.reset(LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!b.winmm) {
            b.error = "winmm.dll: " + systemErrorText(GetLastError());
            return b;
        }
        // Through the generic function pointer type, the one a FARPROC may be cast to.
        b.playSound = reinterpret_cast<PlaySoundFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(b.winmm.get(), "PlaySoundW")));
        if (b.playSound == nullptr)
            b.error = "PlaySoundW: " + systemErrorText(GetLastError());
        return b;
    }();
    return binding;
}

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

// PlaySound says only that it failed. What the file system knows tells a misplaced file from
// a file the sound service would not play.
PlaybackResult whyNotPlayed(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {PlaybackError::FileMissing, {}};
        return {PlaybackError::Unreadable, systemErrorText(error)};
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {PlaybackError::NotRegularFile, {}};
    return {PlaybackError::Refused, "not a wave file it plays, no output device, or another "
                                    "sound still playing"};
}

} // namespace

PlaybackResult Win32SoundService::play(const NativeString& path)
{
    const PlaySoundBinding& binding = playSoundBinding();
    if (binding.playSound == nullptr)
        return {PlaybackError::LibraryMissing, binding.error};
    // The wide-character call: squeezed through the ANSI code page, a directory name outside
    // it would be lost or, mapped to look-alike characters, name another file. No module
    // handle: only resource sounds use one.
    constexpr DWORD kFlags = SND_FILENAME | SND_NOSTOP | SND_NODEFAULT; // synchronous: no SND_ASYNC
    if (binding.playSound(shortFormOf(path).c_str(), nullptr, kFlags) != FALSE)
        return {};
    return whyNotPlayed(path);
}

} // namespace kt5::platform::win32

namespace kt5::platform {

std::unique_ptr<SoundService> createSoundService()
{
    return std::make_unique<win32::Win32SoundService>();
}

} // namespace kt5::platform
