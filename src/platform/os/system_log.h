#pragma once

#include <string_view>

namespace kt5::platform::os {

// Hands the program's diagnostic lines to where the system keeps what programs say, where a
// user finds them without a console, as a desktop's journal keeps standard error.
void writeToSystemLog(std::string_view utf8);

} // namespace kt5::platform::os
