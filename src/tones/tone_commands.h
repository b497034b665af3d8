#pragma once

#include "platform/platform_services.h"
#include "platform/sound_service.h"
#include "tones/tone_command_table.h"

#include <string_view>

namespace kt5::tones {

inline constexpr std::string_view kPlaybackErrorText = "Error playing DTMF tone";
inline constexpr std::string_view kPlaybackErrorTitle = "Error";
inline constexpr int kPlaybackErrorStyle = platform::kMbOk | platform::kMbIconExclamation;

// Handles the buttons of the Command1 array: plays the pressed command's tone file from the
// application directory and tells the user when it cannot be played. Keeps no state between
// clicks; the services are borrowed and must outlive it.
class ToneCommands {
public:
    ToneCommands(platform::PlatformServices& platform, platform::SoundService& sound)
        : platform_(platform)
        , sound_(sound)
    {
    }

    // Returns when the tone has been played, or when the user has closed the error box.
    void Command1_Click(const CommandIndex& index);

private:
    platform::PlatformServices& platform_;
    platform::SoundService& sound_;
};

} // namespace kt5::tones
