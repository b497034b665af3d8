#include "tones/tone_commands.h"

#include "tones/tone_path.h"

#include <string>

namespace kt5::tones {

void ToneCommandHandler::Command1_Click(const CommandIndex& index)
{
    const auto fileName = toneFileFor(index);
    if (!fileName)
        return; // no button carries such an index

    // Without its directory the program cannot know where its tones are; a bare file name
    // would be looked up wherever the program happened to be started.
    const platform::NativeString directory = desktop_.applicationDirectory();
    bool played = false;
    if (directory.empty())
        desktop_.reportError("cannot play " + std::string(*fileName) +
                             ": the program's own directory is unknown");
    else
        played = PlayWaveFile(tonePath(directory, *fileName));
    if (!played)
        desktop_.messageBox(kPlaybackErrorText, kPlaybackErrorTitle, kPlaybackErrorIcon);
}

bool ToneCommandHandler::PlayWaveFile(const platform::NativeString& path)
{
    const platform::PlaybackResult result = sound_.play(path);
    if (result)
        return true;
    const platform::PlaybackFailure& failure = result.failure();
    std::string line = "cannot play " + platform::utf8FromNative(path) + ": " +
                       std::string(platform::describe(failure.error));
    if (!failure.detail.empty())
        line += " (" + failure.detail + ")";
    desktop_.reportError(line);
    return false;
}

} // namespace kt5::tones
