// The main of every test binary. The environment is pinned, so that a developer's locale,
// sound or display cannot change what a test sees.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
#if defined(_WIN32) // under Wine the rest belong to Wine itself
    _putenv_s("LC_ALL", "C");
#else
    ::setenv("LC_ALL", "C", 1);
    for (const char* name : {"ALSA_CONFIG_PATH", "PULSE_SERVER", "PULSE_SINK", "DISPLAY",
                             "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        ::unsetenv(name);
#endif
    std::setlocale(LC_ALL, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
