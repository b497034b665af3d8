#include "system_log.h"

#include "os/windows_text.h"
#include "product/product.h"

#include <memory>
#include <type_traits>

namespace kt5::platform::os {

namespace {

// The one message of the program's message table (resources/kt5_dtmf.rc.in): its lines as
// they are. The installer registers the table for the event source named after the program.
constexpr DWORD kLinesAsTheyAre = 1;

struct EventSourceCloser {
    void operator()(HANDLE source) const { DeregisterEventSource(source); }
};
using EventSource = std::unique_ptr<std::remove_pointer_t<HANDLE>, EventSourceCloser>;

} // namespace

// A program of the GUI subsystem has no console: its lines go to the Application event log,
// which Event Viewer shows, and to a debugger's output. The source is opened for each message:
// there are few, and none is kept open for the program's life.
void writeToSystemLog(std::string_view utf8)
{
    std::wstring text = wideFromUtf8(utf8);
    OutputDebugStringW(text.c_str());
    while (!text.empty() && text.back() == L'\n') // the message ends its own last line
        text.pop_back();
    const EventSource source(
        RegisterEventSourceW(nullptr, wideFromUtf8(product::kProgramName).c_str()));
    const wchar_t* strings[] = {text.c_str()};
    if (source)
        ReportEventW(source.get(), EVENTLOG_ERROR_TYPE, 0, kLinesAsTheyAre, nullptr, 1, 0, strings,
                     nullptr);
}

} // namespace kt5::platform::os
