#pragma once

#include "platform/sound_service.h"

#include <ostream>

namespace kt5::platform {

// A failed expectation names the reason, not its bytes.
inline void PrintTo(PlaybackError error, std::ostream* out)
{
    *out << describe(error);
}

} // namespace kt5::platform
