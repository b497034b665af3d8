#include "os/shared_library.h"
#include "platform/sound_service.h"
#include "policy/play_within.h"
#include "tone_file/tone_file.h"

#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <string>
#include <utility>

namespace kt5::platform::winmm {

namespace {

using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
using DeviceCountFunction = UINT(WINAPI*)();

struct BoundPlaySound {
    PlaySoundFunction playSound = nullptr; // null: not found
    DeviceCountFunction outputDevices = nullptr;
    std::string error; // why, in the loader's words
};

// Bound once, at the first sound rather than at start: winmm.dll, and the audio drivers it
// loads, need not delay the window.
const BoundPlaySound& playSoundLibrary()
{
    static const BoundPlaySound bound = [] {
        static os::SharedLibrary winmm("winmm.dll");
        BoundPlaySound b;
        if (!winmm.bind("PlaySoundW", b.playSound) ||
            !winmm.bind("waveOutGetNumDevs", b.outputDevices)) {
            b.playSound = nullptr;
            b.error = winmm.error();
        }
        return b;
    }();
    return bound;
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

// The sound service on Windows: the multimedia PlaySound service, synchronous and with no
// default sound. PlaySound would play the part of a cut-short file that is there, and stream
// a file's claimed length in real time however long; so every file is checked first, as on
// Linux, and only one that passes is handed to it, under the same policy: one sound at a time
// for the process, and a driver that stops answering given up at the deadline.
class WinmmSoundService final : public SoundService {
public:
    PlaybackResult play(const NativeString& path) override
    {
        policy::SoundSlot slot;
        if (!slot.held())
            return PlaybackFailure{PlaybackError::Busy};
        auto file = readToneFile(path);
        if (!file)
            return file.failure();
        const BoundPlaySound& bound = playSoundLibrary();
        if (bound.playSound == nullptr)
            return PlaybackFailure{PlaybackError::LibraryMissing, bound.error};
        return policy::playWithin(
            std::move(slot), policy::lengthOf(file->layout.seconds()),
            [&bound, shortPath = shortFormOf(path)](policy::Clock::time_point) {
                return playSoundFile(bound, shortPath);
            },
            [&bound] { bound.playSound(nullptr, nullptr, 0); }, {}); // stops what plays
    }

private:
    static PlaybackResult playSoundFile(const BoundPlaySound& bound, const std::wstring& path)
    {
        // The wide-character call: squeezed through the ANSI code page, a directory name
        // outside it would be lost or, mapped to look-alike characters, name another file. No
        // module handle: only resource sounds use one.
        constexpr DWORD kFlags = SND_FILENAME | SND_NOSTOP | SND_NODEFAULT; // no SND_ASYNC
        if (bound.playSound(path.c_str(), nullptr, kFlags) != FALSE)
            return {};
        // PlaySound says no more than that it failed.
        if (bound.outputDevices() == 0)
            return PlaybackFailure{PlaybackError::DeviceNotOpened, "no sound output device"};
        return PlaybackFailure{PlaybackError::Refused, "a codec it does not play"};
    }
};

} // namespace

} // namespace kt5::platform::winmm

namespace kt5::platform {

// PlaySound names its streams itself; there is nothing to set up.
std::unique_ptr<SoundService> createSoundService(const ProgramIdentity&)
{
    return std::make_unique<winmm::WinmmSoundService>();
}

} // namespace kt5::platform
