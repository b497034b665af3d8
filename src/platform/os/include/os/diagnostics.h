#pragma once

#include <string_view>

namespace kt5::platform::os {

// Says what failed in one line, "kt5_dtmf: <message>", on standard error and, on Windows,
// where a program of the GUI subsystem, which often has no standard error, is read: the
// Application event log and a debugger's output. Each further line of the message, empty ones
// left out, in a line of the same kind. The one place such a line is made.
void printDiagnostic(std::string_view message);

} // namespace kt5::platform::os
