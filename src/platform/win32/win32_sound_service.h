#pragma once

#include "platform/sound_service.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace kt5::platform::win32 {

// The sound service on Windows: the multimedia PlaySound service, which keeps the contract
// itself (synchronous, no default sound, refusing while another sound of the process plays).
// winmm.dll is bound by name at the first sound, from the system directory only: loading it,
// and the audio drivers it loads, need not delay the window.
class Win32SoundService final : public SoundService {
public:
    bool playFileSync(const NativeString& path) override;

private:
    struct LibraryDeleter {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;
    using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

    bool bind();

    UniqueLibrary winmm_;
    PlaySoundFunction playSound_ = nullptr;
};

} // namespace kt5::platform::win32
