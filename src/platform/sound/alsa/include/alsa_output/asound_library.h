#pragma once

#include <alsa/asoundlib.h>

#include <string>

namespace kt5::platform::alsa {

// libasound's functions that the output uses.
struct AsoundApi {
    decltype(&snd_pcm_open) pcm_open;
    decltype(&snd_pcm_close) pcm_close;
    decltype(&snd_pcm_set_params) pcm_set_params;
    decltype(&snd_pcm_writei) pcm_writei;
    decltype(&snd_pcm_wait) pcm_wait;
    decltype(&snd_pcm_recover) pcm_recover;
    decltype(&snd_pcm_drop) pcm_drop;
    decltype(&snd_pcm_drain) pcm_drain;
    decltype(&snd_strerror) strerror;
};

struct BoundAsound {
    const AsoundApi* api = nullptr; // null: not found
    std::string error;              // why, in the loader's words
};

// Binds libasound by name, once, at the first sound rather than at start: it and the plugins
// it loads would delay the window for nothing. ALSA's own error printing is turned off:
// failures reach the caller as results. Safe from any thread.
const BoundAsound& asoundLibrary();

} // namespace kt5::platform::alsa
