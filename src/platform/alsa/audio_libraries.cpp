#include "platform/alsa/audio_libraries.h"

#include <dlfcn.h>

namespace kt5::platform::alsa {

namespace {

// Looks a function up by name and gives it the type of the declaration it stands for.
template <class Function>
bool bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::string loaderError()
{
    const char* error = dlerror();
    return error != nullptr ? error : "unknown dynamic loader error";
}

// Opens `soname` and binds its functions with `bindAll`; never closed (see the header).
template <class Api, class BindAll>
Bound<Api> load(const char* soname, Api& api, BindAll bindAll)
{
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return {nullptr, loaderError()};
    if (!bindAll(library, api))
        return {nullptr, std::string(soname) + ": " + loaderError()};
    return {&api, {}};
}

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

AudioLibraries loadBoth()
{
    static SndfileApi sndfile{};
    static AsoundApi asound{};
    AudioLibraries libraries{
        load("libsndfile.so.1", sndfile,
             [](void* l, SndfileApi& a) {
                 return bind(l, "sf_open_virtual", a.open_virtual) &&
                        bind(l, "sf_close", a.close) && bind(l, "sf_readf_float", a.readf_float) &&
                        bind(l, "sf_error", a.error) && bind(l, "sf_strerror", a.strerror);
             }),
        load("libasound.so.2", asound,
             [](void* l, AsoundApi& a) {
                 decltype(&snd_lib_error_set_handler) setErrorHandler = nullptr;
                 const bool complete =
                     bind(l, "snd_pcm_open", a.pcm_open) && bind(l, "snd_pcm_close", a.pcm_close) &&
                     bind(l, "snd_pcm_set_params", a.pcm_set_params) &&
                     bind(l, "snd_pcm_get_params", a.pcm_get_params) &&
                     bind(l, "snd_pcm_writei", a.pcm_writei) &&
                     bind(l, "snd_pcm_wait", a.pcm_wait) && bind(l, "snd_pcm_avail", a.pcm_avail) &&
                     bind(l, "snd_pcm_delay", a.pcm_delay) &&
                     bind(l, "snd_pcm_recover", a.pcm_recover) &&
                     bind(l, "snd_pcm_start", a.pcm_start) && bind(l, "snd_pcm_drop", a.pcm_drop) &&
                     bind(l, "snd_pcm_state", a.pcm_state) && bind(l, "snd_strerror", a.strerror) &&
                     bind(l, "snd_lib_error_set_handler", setErrorHandler);
                 if (complete)
                     setErrorHandler(&ignoreAlsaError);
                 return complete;
             }),
    };
    return libraries;
}

} // namespace

const AudioLibraries& bindAudioLibraries()
{
    static const AudioLibraries libraries = loadBoth();
    return libraries;
}

} // namespace kt5::platform::alsa
