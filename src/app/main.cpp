// kt5_dtmf: one window of eleven buttons, each playing the DTMF tone sequence of a
// remote-control command. Takes no arguments; keeps no settings; writes nothing.
#include "platform/platform_services.h"
#include "platform/sound_service.h"
#include "tones/tone_commands.h"
#include "window/form1.h"

int main()
{
    const auto platform = kt5::platform::createPlatformServices();
    const auto sound = kt5::platform::createSoundService();
    kt5::tones::ToneCommands commands(*platform, *sound);
    return kt5::window::runForm1(*platform, commands) ? 0 : 1;
}
