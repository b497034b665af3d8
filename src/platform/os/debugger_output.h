#pragma once

#include <string_view>

namespace kt5::platform::os {

// Hands a diagnostic line to an attached debugger, where the platform has such an output.
void writeToDebugger(std::string_view utf8);

} // namespace kt5::platform::os
