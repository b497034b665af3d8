#pragma once

#include "platform/sound_service.h"

namespace kt5::platform::win32 {

// The sound service on Windows: the multimedia PlaySound service, which keeps the contract
// itself (synchronous, no default sound, refusing while another sound of the process plays).
// winmm.dll is bound by name at the first sound, from the system directory only: loading it,
// and the audio drivers it loads, need not delay the window.
class Win32SoundService final : public SoundService {
public:
    PlaybackResult play(const NativeString& path) override;
};

} // namespace kt5::platform::win32
