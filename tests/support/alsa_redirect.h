#pragma once

#include <filesystem>
#include <string>

namespace kt5::test {

// Points this process's ALSA "default" PCM somewhere else by giving it a private home with
// its own .asoundrc. Applies to PCMs opened after construction; the previous environment is
// restored afterwards.
class AlsaRedirect {
public:
    // `pcmDefinition` is the body of pcm.!default, for example `type file ...`.
    AlsaRedirect(const std::filesystem::path& home, const std::string& pcmDefinition);
    AlsaRedirect(const AlsaRedirect&) = delete;
    AlsaRedirect& operator=(const AlsaRedirect&) = delete;
    ~AlsaRedirect();

    // ALSA's default sent to a WAV file through the `file` plugin, over the `null` device.
    static std::string toWaveFile(const std::filesystem::path& capture);
    // ALSA's default sent to a PulseAudio server at a unix socket.
    static std::string toPulseServer(const std::filesystem::path& socket);

private:
    std::string savedHome_;
    std::string savedConfigHome_;
};

} // namespace kt5::test
