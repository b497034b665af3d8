#include "tones/tone_commands.h"

#include "tones/play_wave_file.h"
#include "tones/tone_path.h"

namespace kt5::tones {

void ToneCommands::Command1_Click(const CommandIndex& index)
{
    const auto fileName = toneFileFor(index);
    if (!fileName)
        return; // no button carries such an index

    const auto path = tonePath(platform_.applicationDirectory(), *fileName);
    if (!PlayWaveFile(sound_, path))
        platform_.messageBox(kPlaybackErrorText, kPlaybackErrorTitle, kPlaybackErrorStyle);
}

} // namespace kt5::tones
