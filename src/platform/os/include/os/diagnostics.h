#pragma once

#include <string_view>

namespace kt5::platform::os {

// Says what failed in one line, "kt5_dtmf: <message>", on standard error and, where the
// platform has one, on the debugger's output (a program of the Windows GUI subsystem often
// has no standard error to write to); each further line of the message, empty ones left out,
// in a line of the same kind. The one place such a line is made.
void printDiagnostic(std::string_view message);

} // namespace kt5::platform::os
