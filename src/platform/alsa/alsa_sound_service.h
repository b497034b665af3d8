#pragma once

#include "platform/sound_service.h"

namespace kt5::platform::alsa {

// The sound service on Linux: libsndfile decodes, ALSA's "default" PCM plays (on desktops
// that reaches PipeWire or PulseAudio through their ALSA plugins).
class AlsaSoundService final : public SoundService {
public:
    bool playFileSync(const NativeString& path) override;
};

} // namespace kt5::platform::alsa
