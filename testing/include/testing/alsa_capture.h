#pragma once

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kt5::test {

// Points this process's ALSA "default" PCM at `pcm` (a pcm.!default body) from now on, with
// an .asoundrc in a home of its own.
inline void redirectAlsaDefault(const std::filesystem::path& home, const std::string& pcm)
{
    std::ofstream(home / ".asoundrc") << "pcm.!default {\n" << pcm << "\n}\n";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    snd_config_update_free_global(); // ALSA caches its configuration per process
}

// A pcm.!default body that writes what is played into a WAV file (the `file` plugin over
// `null`), each sound in place of the last.
inline std::string alsaToWaveFile(const std::filesystem::path& capture)
{
    return "type file\nslave.pcm \"null\"\nfile \"" + capture.string() + "\"\nformat \"wav\"";
}

} // namespace kt5::test
