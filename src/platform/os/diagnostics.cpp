#include "os/diagnostics.h"

#include "product/product.h"
#include "system_log.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kt5::platform::os {

void printDiagnostic(std::string_view message)
{
    // A message of several lines, as libraries write some, is as many lines of the program's.
    std::string text;
    for (std::size_t start = 0; start <= message.size();) {
        const std::size_t end = std::min(message.find('\n', start), message.size());
        if (end > start || start == 0)
            text += std::string(product::kProgramName) + ": " +
                    std::string(message.substr(start, end - start)) + "\n";
        start = end + 1;
    }
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    writeToSystemLog(text);
}

} // namespace kt5::platform::os
