// The main of every test binary. The environment is pinned here, so a developer's locale or
// sound and display settings cannot change what a test sees; and a watchdog ends a test that
// hangs, saying which, long before ctest's own timeout.
#include "support/watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace kt5::test {

namespace {

constexpr auto kLongestTest = std::chrono::seconds(90);
std::atomic<int> loopsRunning{0};
std::atomic<int> testsStarted{0};

[[noreturn]] void endAtOnce(const std::string& why)
{
    std::fprintf(stderr, "watchdog: %s\n", why.c_str());
    std::fflush(nullptr);
    std::_Exit(1);
}

// A thread per test sleeps for the test's time, and ends the run if the test is still the one
// running then.
class Watchdog final : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override
    {
        const int generation = ++testsStarted;
        const std::string name = std::string(test.test_suite_name()) + "." + test.name();
        std::thread([generation, name] {
            std::this_thread::sleep_for(kLongestTest);
            if (testsStarted == generation)
                endAtOnce(name + " still runs after " + std::to_string(kLongestTest.count()) +
                          " s");
        }).detach();
    }
    void OnTestEnd(const testing::TestInfo&) override { ++testsStarted; }
    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (result.failed() && loopsRunning > 0)
            endAtOnce("an assertion failed inside an event loop, at " +
                      std::string(result.file_name() ? result.file_name() : "?") + ":" +
                      std::to_string(result.line_number()));
    }
};

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

InsideEventLoop::InsideEventLoop()
{
    ++loopsRunning;
}

InsideEventLoop::~InsideEventLoop()
{
    --loopsRunning;
}

} // namespace kt5::test

int main(int argc, char** argv)
{
    kt5::test::setVariable("LC_ALL", "C");
    kt5::test::setVariable("LANG", "C");
    std::setlocale(LC_ALL, "C");
#if !defined(_WIN32) // under Wine these belong to Wine itself
    for (const char* name : {"ALSA_CONFIG_PATH", "PULSE_SERVER", "PULSE_SINK", "DISPLAY",
                             "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        kt5::test::setVariable(name, "");
#endif
    testing::InitGoogleTest(&argc, argv);
    // After the default printer, so that a failure is printed before it ends the run.
    testing::UnitTest::GetInstance()->listeners().Append(new kt5::test::Watchdog);
    return RUN_ALL_TESTS();
}
