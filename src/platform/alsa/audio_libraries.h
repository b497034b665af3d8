#pragma once

#include <alsa/asoundlib.h>
#include <sndfile.h>

namespace kt5::platform::alsa {

// libsndfile's functions that the decoder uses.
struct SndfileApi {
    decltype(&sf_open_virtual) open_virtual;
    decltype(&sf_close) close;
    decltype(&sf_readf_float) readf_float;
    decltype(&sf_error) error;
};

// libasound's functions that the output uses.
struct AsoundApi {
    decltype(&snd_lib_error_set_handler) lib_error_set_handler;
    decltype(&snd_pcm_open) pcm_open;
    decltype(&snd_pcm_close) pcm_close;
    decltype(&snd_pcm_nonblock) pcm_nonblock;
    decltype(&snd_pcm_set_params) pcm_set_params;
    decltype(&snd_pcm_writei) pcm_writei;
    decltype(&snd_pcm_recover) pcm_recover;
    decltype(&snd_pcm_drain) pcm_drain;
    decltype(&snd_pcm_drop) pcm_drop;
    decltype(&snd_pcm_state) pcm_state;
};

// The libraries are bound by name at the first sound, not when the program starts: loading
// them and the codec libraries they pull in would delay the window for nothing. Null when a
// library or one of its functions is missing. Safe to call from any thread.
const SndfileApi* sndfileApi();
const AsoundApi* asoundApi();

} // namespace kt5::platform::alsa
