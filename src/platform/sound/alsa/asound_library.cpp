#include "alsa_output/asound_library.h"

#include "os/shared_library.h"

namespace kt5::platform::alsa {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

BoundAsound bindAsound()
{
    static os::SharedLibrary library(KT5_ASOUND_LIBRARY);
    static AsoundApi api{};
    decltype(&snd_lib_error_set_handler) setErrorHandler = nullptr;
    const bool complete = library.bind("snd_pcm_open", api.pcm_open) &&
                          library.bind("snd_pcm_close", api.pcm_close) &&
                          library.bind("snd_pcm_set_params", api.pcm_set_params) &&
                          library.bind("snd_pcm_writei", api.pcm_writei) &&
                          library.bind("snd_pcm_wait", api.pcm_wait) &&
                          library.bind("snd_pcm_recover", api.pcm_recover) &&
                          library.bind("snd_pcm_drop", api.pcm_drop) &&
                          library.bind("snd_pcm_drain", api.pcm_drain) &&
                          library.bind("snd_strerror", api.strerror) &&
                          library.bind("snd_lib_error_set_handler", setErrorHandler);
    if (!complete)
        return {nullptr, library.error()};
    setErrorHandler(&ignoreAlsaError);
    return {&api, {}};
}

} // namespace

const BoundAsound& asoundLibrary()
{
    static const BoundAsound bound = bindAsound();
    return bound;
}

} // namespace kt5::platform::alsa
