// Start-up and footprint of kt5_dtmf against a minimal Qt 6 window of eleven buttons built
// with the same flags: time from process start to the window being mapped, peak resident
// memory, and the CPU time used while idling. Prints figures; asserts nothing.
//
//   startup_bench [RUNS]
//   startup_bench RUNS LABEL TITLE COMMAND... -- LABEL TITLE COMMAND...
// The second form compares any two programs, for example two Windows programs under Wine.
#include "support/child_process.h"
#include "support/temp_dir.h"
#include "support/x11_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string label;
    std::vector<std::string> command;
    std::string title;
};

// "LABEL TITLE COMMAND... [--]" twice.
std::vector<Program> programsFrom(int argc, char* argv[])
{
    std::vector<Program> programs;
    for (int i = 2; i + 2 < argc;) {
        Program p{argv[i], {}, argv[i + 1]};
        for (i += 2; i < argc && std::string(argv[i]) != "--"; ++i)
            p.command.push_back(argv[i]);
        ++i;
        programs.push_back(p);
    }
    return programs;
}

long peakRssKb(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

double cpuMs(int pid)
{
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15) // utime, stime
            ticks += std::stod(field);
    return 1000.0 * ticks / double(::sysconf(_SC_CLK_TCK));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 31;
    kt5::test::X11Session x11;
    kt5::test::TempDir runtime;
    if (!x11.ready()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    const std::vector<std::string> baseEnv = {"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                              "XDG_RUNTIME_DIR=" + runtime.path().string(),
                                              "HOME=" + runtime.path().string()};
    std::vector<Program> programs = programsFrom(argc, argv);
    if (programs.size() != 2)
        programs = {{"minimal Qt window", {KT5_MINIMAL_EXE}, "minimal"},
                    {"kt5_dtmf", {KT5_DTMF_EXE}, "KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)"}};
    std::vector<std::string> env = baseEnv;
    for (const char* passed : {"WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES"})
        if (const char* value = std::getenv(passed))
            env.push_back(std::string(passed) + "=" + value);

    // Interleaved runs, so that drifts of the machine's speed touch both programs alike.
    std::vector<double> ms[2];
    std::vector<double> kb[2];
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            x11.watchMaps();
            const auto start = Clock::now();
            kt5::test::ChildProcess program(programs[p].command, env);
            if (!x11.waitForMap(programs[p].title, 10'000)) {
                std::fprintf(stderr, "%s: no window\n", programs[p].label.c_str());
                return 1;
            }
            ms[p].push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            kb[p].push_back(double(peakRssKb(program.pid())));
        }
    }
    double startup[2] = {};
    double rss[2] = {};
    for (int p = 0; p < 2; ++p) {
        startup[p] = median(ms[p]);
        rss[p] = median(kb[p]);
        std::printf("%-18s start to window mapped: median %6.1f ms (min %.1f, max %.1f);"
                    "  peak RSS %6.1f MiB\n",
                    programs[p].label.c_str(), startup[p],
                    *std::min_element(ms[p].begin(), ms[p].end()),
                    *std::max_element(ms[p].begin(), ms[p].end()), rss[p] / 1024.0);
    }
    std::printf("%s / %s:  start-up %.2fx  peak RSS %.2fx  (%d runs each, Xvfb)\n",
                programs[1].label.c_str(), programs[0].label.c_str(), startup[1] / startup[0],
                rss[1] / rss[0], runs);
    if (programs[1].command.size() != 1)
        return 0; // idling is measured for the Linux program only

    // Idle with the keyboard focus, as on a desktop: nothing may tick, not even a text
    // cursor that no one can see.
    kt5::test::ChildProcess idle(programs[1].command, env);
    if (const auto window = x11.waitForWindow(programs[1].title, 10'000))
        x11.focus(*window);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double before = cpuMs(idle.pid());
    std::this_thread::sleep_for(std::chrono::seconds(10));
    std::printf("kt5_dtmf idle (focused): %.0f ms of CPU time over 10 s\n",
                cpuMs(idle.pid()) - before);
    return 0;
}
