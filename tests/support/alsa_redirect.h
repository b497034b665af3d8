#pragma once

#include <filesystem>
#include <string>

namespace kt5::test {

// Points this process's ALSA "default" PCM elsewhere for the PCMs it opens from now on, by
// giving it a home of its own with an .asoundrc whose pcm.!default body is `pcmDefinition`.
void redirectAlsaDefault(const std::filesystem::path& home, const std::string& pcmDefinition);

// pcm.!default bodies: into a WAV file through the `file` plugin over `null`, or to a
// PulseAudio server at a unix socket.
std::string alsaToWaveFile(const std::filesystem::path& capture);
std::string alsaToPulseServer(const std::filesystem::path& socket);

} // namespace kt5::test
