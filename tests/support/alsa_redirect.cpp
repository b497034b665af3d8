#include "support/alsa_redirect.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <fstream>

namespace kt5::test {

void redirectAlsaDefault(const std::filesystem::path& home, const std::string& pcmDefinition)
{
    std::ofstream(home / ".asoundrc") << "pcm.!default {\n" << pcmDefinition << "\n}\n";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    snd_config_update_free_global(); // ALSA caches its configuration per process
}

std::string alsaToWaveFile(const std::filesystem::path& capture)
{
    return "type file\nslave.pcm \"null\"\nfile \"" + capture.string() + "\"\nformat \"wav\"";
}

std::string alsaToPulseServer(const std::filesystem::path& socket)
{
    return "type pulse\nserver \"unix:" + socket.string() + "\"";
}

} // namespace kt5::test
