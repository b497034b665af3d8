// The main of every test binary: the environment is pinned here, so a developer's locale or
// sound and display settings cannot change what a test sees.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace {

void setVariable(const char* name, const char* value)
{
#if defined(_WIN32)
    _putenv_s(name, value); // an empty value removes the variable
#else
    if (*value == '\0')
        ::unsetenv(name);
    else
        ::setenv(name, value, 1);
#endif
}

} // namespace

int main(int argc, char** argv)
{
    setVariable("LC_ALL", "C");
    setVariable("LANG", "C");
    std::setlocale(LC_ALL, "C");
#if !defined(_WIN32) // under Wine these belong to Wine itself
    for (const char* name : {"ALSA_CONFIG_PATH", "PULSE_SERVER", "PULSE_SINK", "DISPLAY",
                             "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        setVariable(name, "");
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
