#pragma once

#include "platform/native_string.h"

#include <string_view>

namespace kt5::tones {

// Joins a directory, which must not be empty, and a file name with exactly one separator:
// "/opt/kt5" gives "/opt/kt5/03.wav", the root "/" gives "/03.wav".
platform::NativeString tonePath(const platform::NativeString& directory, std::string_view fileName);

} // namespace kt5::tones
