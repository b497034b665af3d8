#pragma once

#include "platform/desktop_services.h"
#include "platform/sound_service.h"
#include "tones/tone_command_table.h"

#include <string_view>

namespace kt5::tones {

inline constexpr std::string_view kPlaybackErrorText = "Error playing DTMF tone";
inline constexpr std::string_view kPlaybackErrorTitle = "Error";
inline constexpr platform::MessageIcon kPlaybackErrorIcon = platform::MessageIcon::Exclamation;

// Handles the buttons of the Command1 array: plays the pressed command's tone file from the
// application directory and tells the user when it cannot be played. Keeps no state between
// clicks; the services are borrowed and must outlive it.
class ToneCommandHandler {
public:
    ToneCommandHandler(platform::DesktopServices& desktop, platform::SoundService& sound)
        : desktop_(desktop)
        , sound_(sound)
    {
    }

    // Returns when the tone has been played, or when the user has closed the error box.
    void Command1_Click(const CommandIndex& index);

private:
    // Plays the wave file at `path` to its end; false when it could not be played, after
    // saying why on the platform's error output.
    bool PlayWaveFile(const platform::NativeString& path);

    platform::DesktopServices& desktop_;
    platform::SoundService& sound_;
};

} // namespace kt5::tones
