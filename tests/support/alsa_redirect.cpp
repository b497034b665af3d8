#include "support/alsa_redirect.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <fstream>

namespace kt5::test {

namespace {

std::string getenvOrEmpty(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void restore(const char* name, const std::string& value)
{
    if (value.empty())
        ::unsetenv(name);
    else
        ::setenv(name, value.c_str(), 1);
}

} // namespace

AlsaRedirect::AlsaRedirect(const std::filesystem::path& home, const std::string& pcmDefinition)
    : savedHome_(getenvOrEmpty("HOME"))
    , savedConfigHome_(getenvOrEmpty("XDG_CONFIG_HOME"))
{
    std::ofstream(home / ".asoundrc") << "pcm.!default {\n" << pcmDefinition << "\n}\n";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    // ALSA caches its configuration per process; make it read the new one.
    snd_config_update_free_global();
}

AlsaRedirect::~AlsaRedirect()
{
    restore("HOME", savedHome_);
    restore("XDG_CONFIG_HOME", savedConfigHome_);
    snd_config_update_free_global();
}

std::string AlsaRedirect::toWaveFile(const std::filesystem::path& capture)
{
    return "  type file\n  slave.pcm \"null\"\n  file \"" + capture.string() +
           "\"\n  format \"wav\"\n";
}

std::string AlsaRedirect::toPulseServer(const std::filesystem::path& socket)
{
    return "  type pulse\n  server \"unix:" + socket.string() + "\"\n";
}

} // namespace kt5::test
