#include "debugger_output.h"

#include "os/windows_text.h"

namespace kt5::platform::os {

void writeToDebugger(std::string_view utf8)
{
    OutputDebugStringW(wideFromUtf8(utf8).c_str());
}

} // namespace kt5::platform::os
