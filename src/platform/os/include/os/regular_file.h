#pragma once

#include "platform/native_string.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kt5::platform::os {

enum class FileProblem { Missing, NotRegular, Unreadable, Empty, TooLarge, Shrank };

struct FileContents {
    std::vector<std::byte> bytes;
    std::optional<FileProblem> problem; // none: the whole file is in `bytes`
    std::string detail = {};            // the system's own words, where it gave any
};

// Reads the whole of a regular file of at most `maxBytes` bytes, following links. A FIFO,
// device or directory under the name is refused at once, never waited on; a larger file is
// refused before anything of it is read.
FileContents readRegularFile(const NativeString& path, std::size_t maxBytes);

} // namespace kt5::platform::os
