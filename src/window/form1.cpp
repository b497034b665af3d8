#include "window/form1.h"

#include "window/event_routes.h"
#include "window/form1_description.h"
#include "window/layout.h"

namespace kt5::window {

bool runForm1(platform::PlatformServices& platform, tones::ToneCommands& commands)
{
    const platform::WindowLayout layout = resolveLayout(form1Description());
    const auto built = platform.buildWindow(
        layout, [&commands](const platform::ControlEvent& event) { routeEvent(commands, event); });
    if (!built.window) {
        platform.reportError("cannot open the window: " + built.error);
        return false;
    }
    built.window->showAndRun();
    return true;
}

} // namespace kt5::window
