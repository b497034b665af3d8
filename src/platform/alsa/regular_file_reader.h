#pragma once

#include "platform/alsa/outcome.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kt5::platform::alsa {

// Reads the whole of a regular file of at most `maxBytes` bytes. A FIFO, device or directory
// under the name is refused at once, never waited on.
Outcome<std::vector<std::byte>> readRegularFile(const std::string& path, std::size_t maxBytes);

} // namespace kt5::platform::alsa
