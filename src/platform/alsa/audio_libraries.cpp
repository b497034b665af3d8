#include "platform/alsa/audio_libraries.h"

#include <dlfcn.h>
#include <memory>

namespace kt5::platform::alsa {

namespace {

struct LibraryCloser {
    void operator()(void* library) const { dlclose(library); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

// Looks a function up by name and gives it the type of the declaration it stands for.
template <class Function>
bool bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// A library and the functions taken from it, loaded once and kept for the rest of the run:
// the functions would dangle once it was closed.
template <class Api>
struct Binding {
    Library library;
    Api api{};
    bool complete = false;
};

} // namespace

const SndfileApi* sndfileApi()
{
    static const Binding<SndfileApi> binding = [] {
        Binding<SndfileApi> b;
        b.library.reset(dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL));
        void* l = b.library.get();
        SndfileApi& a = b.api;
        b.complete = l != nullptr && bind(l, "sf_open_virtual", a.open_virtual) &&
                     bind(l, "sf_close", a.close) && bind(l, "sf_readf_float", a.readf_float) &&
                     bind(l, "sf_error", a.error);
        return b;
    }();
    return binding.complete ? &binding.api : nullptr;
}

const AsoundApi* asoundApi()
{
    static const Binding<AsoundApi> binding = [] {
        Binding<AsoundApi> b;
        b.library.reset(dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL));
        void* l = b.library.get();
        AsoundApi& a = b.api;
        b.complete =
            l != nullptr && bind(l, "snd_lib_error_set_handler", a.lib_error_set_handler) &&
            bind(l, "snd_pcm_open", a.pcm_open) && bind(l, "snd_pcm_close", a.pcm_close) &&
            bind(l, "snd_pcm_nonblock", a.pcm_nonblock) &&
            bind(l, "snd_pcm_set_params", a.pcm_set_params) &&
            bind(l, "snd_pcm_writei", a.pcm_writei) && bind(l, "snd_pcm_recover", a.pcm_recover) &&
            bind(l, "snd_pcm_drain", a.pcm_drain) && bind(l, "snd_pcm_drop", a.pcm_drop) &&
            bind(l, "snd_pcm_state", a.pcm_state);
        return b;
    }();
    return binding.complete ? &binding.api : nullptr;
}

} // namespace kt5::platform::alsa
