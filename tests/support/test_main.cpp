// The main of every test binary: the environment is pinned here, so a developer's locale or
// sound and display settings cannot change what a test sees.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("LC_ALL", "C", 1);
    ::setenv("LANG", "C", 1);
    std::setlocale(LC_ALL, "C");
    for (const char* name : {"ALSA_CONFIG_PATH", "PULSE_SERVER", "PULSE_SINK", "DISPLAY",
                             "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        ::unsetenv(name);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
