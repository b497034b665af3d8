#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kt5::platform::alsa {

// Reads the whole of a regular file of at most `maxBytes` bytes. Empty when the file is
// missing, unreadable, empty, larger than `maxBytes`, or not a regular file: a FIFO, device
// or directory under the name is refused at once, never waited on.
std::optional<std::vector<std::byte>> readRegularFile(const std::string& path,
                                                      std::size_t maxBytes);

} // namespace kt5::platform::alsa
