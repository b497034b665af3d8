// kt5_dtmf: one window of eleven buttons, each playing the DTMF tone sequence of a
// remote-control command. Takes no arguments; keeps no settings; writes nothing.
#include "platform/sound_service.h"
#include "product/product.h"
#include "window/form1.h"

int main()
{
    constexpr kt5::platform::ProgramIdentity identity{kt5::product::kDisplayName,
                                                      kt5::product::kDesktopId};
    // The sound service first, while this is the only thread.
    const auto sound = kt5::platform::createSoundService(identity);
    return kt5::window::runForm1(identity, *sound) ? 0 : 1;
}
