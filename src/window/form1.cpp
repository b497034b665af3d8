#include "window/form1.h"

#include "window/event_routes.h"
#include "window/form1_description.h"

namespace kt5::window {

void runForm1(platform::PlatformServices& platform, tones::ToneCommands& commands)
{
    const auto form =
        platform.buildWindow(form1Description(), [&commands](const platform::ControlEvent& event) {
            routeEvent(commands, event);
        });
    form->showAndRun();
}

} // namespace kt5::window
