#pragma once

#include "platform/alsa/audio_libraries.h"
#include "platform/sound_service.h"

namespace kt5::platform::alsa {

// The sound service on Linux: libsndfile decodes, ALSA's "default" PCM plays (on desktops
// that reaches PipeWire or PulseAudio through their ALSA plugins).
class AlsaSoundService final : public SoundService {
public:
    // How the libraries are reached; tests put a table of their own in their place.
    using BindLibraries = const AudioLibraries& (*)();

    explicit AlsaSoundService(BindLibraries bind = &bindAudioLibraries)
        : bind_(bind)
    {
    }

    PlaybackResult play(const NativeString& path) override;

private:
    BindLibraries bind_;
};

} // namespace kt5::platform::alsa
