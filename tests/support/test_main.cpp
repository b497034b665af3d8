// The main of every test binary: the environment pinned against a developer's locale, sound
// and display; an assertion that fails inside an event loop ends the run at once.
#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

class EndOnFailureInsideAnEventLoop final : public testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (!result.failed() || kt5::test::eventLoopDepth == 0)
            return;
        std::fputs("the failure above is inside an event loop: the run ends here\n", stderr);
        std::fflush(nullptr);
        std::_Exit(1);
    }
};

} // namespace

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
    // After the default printer, so that the failure is printed before the run ends.
    testing::UnitTest::GetInstance()->listeners().Append(new EndOnFailureInsideAnEventLoop);
    return RUN_ALL_TESTS();
}
