#include "os/diagnostics.h"

#include "debugger_output.h"
#include "product/product.h"

#include <cstdio>
#include <string>

namespace kt5::platform::os {

void printDiagnostic(std::string_view line)
{
    const std::string text = std::string(product::kProgramName) + ": " + std::string(line) + "\n";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    writeToDebugger(text);
}

} // namespace kt5::platform::os
