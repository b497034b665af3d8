#pragma once

#include <sndfile.h>

#include <string>

namespace kt5::platform::decoder {

// libsndfile's functions that the decoder uses.
struct SndfileApi {
    decltype(&sf_open_virtual) open_virtual;
    decltype(&sf_close) close;
    decltype(&sf_readf_float) readf_float;
    decltype(&sf_error) error;
    decltype(&sf_strerror) strerror;
};

struct BoundSndfile {
    const SndfileApi* api = nullptr; // null: not found
    std::string error;               // why, in the loader's words
};

// Binds libsndfile by name, once, at the first sound rather than at start: loading it and the
// codec libraries it pulls in would delay the window for nothing. Safe from any thread.
const BoundSndfile& sndfileLibrary();

} // namespace kt5::platform::decoder
