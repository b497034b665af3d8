#include "window/form1.h"

#include "layout/layout.h"
#include "os/diagnostics.h"
#include "platform/window_system.h"
#include "tones/tone_commands.h"
#include "window/form1_description.h"

#include <string>

namespace kt5::window {

namespace {

bool cannotOpenTheWindow(const std::string& why)
{
    platform::os::printDiagnostic("cannot open the window: " + why);
    return false;
}

// Runs the handler the description binds a clicked control to.
void onClick(tones::ToneCommandHandler& commands, const layout::ControlLayout& control)
{
    if (!control.onClick)
        return;
    switch (static_cast<Form1Handler>(*control.onClick)) {
    case Form1Handler::Command1_Click:
        if (control.index)
            commands.Command1_Click(*control.index);
        return;
    }
}

} // namespace

bool runForm1(const platform::ProgramIdentity& identity, platform::SoundService& sound)
{
    const auto started = platform::startWindowSystem(identity);
    if (!started.system)
        return cannotOpenTheWindow(started.error);
    tones::ToneCommandHandler commands(started.system->desktop(), sound);
    const layout::FormLayout layout = layout::resolveLayout(form1Description());
    const auto built =
        started.system->buildWindow(layout, [&](const platform::ControlEvent& event) {
            if (event.kind == platform::EventKind::Click)
                onClick(commands, layout.controls.at(event.control));
        });
    if (!built.window)
        return cannotOpenTheWindow(built.error);
    built.window->showAndRun();
    return true;
}

} // namespace kt5::window
