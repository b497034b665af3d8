#pragma once

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <string>

namespace kt5::platform::alsa {

// libsndfile's functions that the decoder uses.
struct SndfileApi {
    decltype(&sf_open_virtual) open_virtual;
    decltype(&sf_close) close;
    decltype(&sf_readf_float) readf_float;
    decltype(&sf_error) error;
    decltype(&sf_strerror) strerror;
};

// libasound's functions that the output uses.
struct AsoundApi {
    decltype(&snd_pcm_open) pcm_open;
    decltype(&snd_pcm_close) pcm_close;
    decltype(&snd_pcm_set_params) pcm_set_params;
    decltype(&snd_pcm_get_params) pcm_get_params;
    decltype(&snd_pcm_writei) pcm_writei;
    decltype(&snd_pcm_wait) pcm_wait;
    decltype(&snd_pcm_avail) pcm_avail;
    decltype(&snd_pcm_delay) pcm_delay;
    decltype(&snd_pcm_recover) pcm_recover;
    decltype(&snd_pcm_start) pcm_start;
    decltype(&snd_pcm_drop) pcm_drop;
    decltype(&snd_pcm_state) pcm_state;
    decltype(&snd_strerror) strerror;
};

// A library's functions, or why they could not be had (the dynamic loader's own words).
template <class Api>
struct Bound {
    const Api* api = nullptr;
    std::string error;
};

struct AudioLibraries {
    Bound<SndfileApi> sndfile;
    Bound<AsoundApi> asound;
};

// Binds libsndfile and libasound by name, once, at the first sound rather than at start:
// loading them and the codec and plugin libraries they pull in would delay the window for
// nothing. They stay loaded for the rest of the run, since a sound still stopping may be
// using them. ALSA's own error printing is turned off: failures reach the caller as results.
// Safe to call from any thread.
const AudioLibraries& bindAudioLibraries();

} // namespace kt5::platform::alsa
