#include "os/system_desktop_services.h"

#include "os/diagnostics.h"
#include "os/executable_directory.h"

namespace kt5::platform::os {

NativeString SystemDesktopServices::applicationDirectory()
{
    return executableDirectory();
}

void SystemDesktopServices::reportError(std::string_view line)
{
    printDiagnostic(line);
}

} // namespace kt5::platform::os
