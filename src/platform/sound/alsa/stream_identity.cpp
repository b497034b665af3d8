#include "stream_identity.h"

#include <cstdlib>
#include <string>

namespace kt5::platform::alsa {

namespace {

// A value in double quotes, as both servers' property lists read one.
std::string quoted(std::string_view value)
{
    std::string text = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            text += '\\';
        text += c;
    }
    return text + "\"";
}

} // namespace

// The ALSA plugins name a stream after the plugin ("ALSA plug-in [kt5_dtmf]", "PipeWire ALSA
// [kt5_dtmf]") and take other names only from the environment, read when a stream opens:
// libpulse's for the pulse plugin (to PulseAudio or pipewire-pulse), the PipeWire plugin's
// for its own. Both servers remember the output a user chose for a program by its role, if
// it has one, then by its name, so no role is given. A user's own setting wins: for the pulse
// plugin key by key, for PipeWire's the user's PIPEWIRE_ALSA as a whole.
void nameTheProgramsStreams(const ProgramIdentity& identity)
{
    const std::string name = quoted(identity.displayName);
    const std::string icon = quoted(identity.desktopId);
    // Set once, at start, while this is the only thread: the environment is the only way in.
    ::setenv("PULSE_PROP_OVERRIDE_application.name", std::string(identity.displayName).c_str(), 0);
    ::setenv("PULSE_PROP_OVERRIDE_application.icon_name", std::string(identity.desktopId).c_str(),
             0);
    ::setenv("PIPEWIRE_ALSA",
             ("{ application.name = " + name + " application.icon_name = " + icon + " }").c_str(),
             0);
}

} // namespace kt5::platform::alsa
