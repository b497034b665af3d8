#include "sndfile_library.h"

#include "os/shared_library.h"

namespace kt5::platform::decoder {

namespace {

BoundSndfile bindSndfile()
{
    static os::SharedLibrary library(KT5_SNDFILE_LIBRARY);
    static SndfileApi api{};
    const bool complete =
        library.bind("sf_open_virtual", api.open_virtual) && library.bind("sf_close", api.close) &&
        library.bind("sf_readf_float", api.readf_float) && library.bind("sf_error", api.error) &&
        library.bind("sf_strerror", api.strerror);
    return complete ? BoundSndfile{&api, {}} : BoundSndfile{nullptr, library.error()};
}

} // namespace

const BoundSndfile& sndfileLibrary()
{
    static const BoundSndfile bound = bindSndfile();
    return bound;
}

} // namespace kt5::platform::decoder
