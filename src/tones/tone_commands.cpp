#include "tones/tone_commands.h"

#include "tones/tone_path.h"

#include <string>

namespace kt5::tones {

void ToneCommands::Command1_Click(const CommandIndex& index)
{
    const auto fileName = toneFileFor(index);
    if (!fileName)
        return; // no button carries such an index

    // Without its directory the program cannot know where its tones are; a bare file name
    // would be looked up wherever the program happened to be started.
    const platform::NativeString directory = platform_.applicationDirectory();
    bool played = false;
    if (directory.empty())
        platform_.reportError("cannot play " + std::string(*fileName) +
                              ": the program's own directory is unknown");
    else
        played = PlayWaveFile(tonePath(directory, *fileName));
    if (!played)
        platform_.messageBox(kPlaybackErrorText, kPlaybackErrorTitle, kPlaybackErrorIcon);
}

bool ToneCommands::PlayWaveFile(const platform::NativeString& path)
{
    const platform::PlaybackResult result = sound_.play(path);
    if (result.played())
        return true;
    std::string line = "cannot play " + platform::utf8FromNative(path) + ": " +
                       std::string(platform::describe(result.error));
    if (!result.detail.empty())
        line += " (" + result.detail + ")";
    platform_.reportError(line);
    return false;
}

} // namespace kt5::tones
