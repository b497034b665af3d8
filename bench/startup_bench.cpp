// Start-up and footprint of kt5_dtmf against a minimal Qt 6 window of eleven buttons built
// with the same flags: from process start to the window being mapped, and to its first full
// paint (the last drawing before 300 ms pass with none, as the X server's Damage extension
// reports it); peak resident memory; CPU time used while idling. Prints figures, asserts
// nothing.
//
//   startup_bench [RUNS]
//   startup_bench RUNS LABEL TITLE COMMAND... -- LABEL TITLE COMMAND...
// The second form compares any two programs, for example two Windows programs under Wine.
#include "product/product.h"
#include "testing/child_process.h"
#include "testing/files.h"
#include "testing/x11_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
constexpr auto kSettled = std::chrono::milliseconds(300);

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

std::string titleOf(Display* display, Window window)
{
    char* name = nullptr;
    std::string title;
    XTextProperty property{};
    if (XGetTextProperty(display, window, &property, XInternAtom(display, "_NET_WM_NAME", False)) &&
        property.value != nullptr) {
        title.assign(reinterpret_cast<char*>(property.value), property.nitems);
        XFree(property.value);
    } else if (XFetchName(display, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

// Watches every top-level window from its creation: its map, and each drawing into it.
class PaintWatch {
public:
    explicit PaintWatch(Display* display)
        : display_(display)
    {
        int error = 0;
        XDamageQueryExtension(display_, &damageEvent_, &error);
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, True); // drop what came before
    }

    // Times from `start` to the map of the window titled `title` and to its last drawing
    // before the drawing settled; negative when no such window appeared.
    std::pair<double, double> measure(const std::string& title, Clock::time_point start)
    {
        std::map<Window, Damage> damages;
        Window ours = 0;
        Clock::time_point mapped;
        Clock::time_point lastPaint;
        const auto giveUp = start + std::chrono::seconds(10);
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        while (Clock::now() < giveUp && (ours == 0 || Clock::now() - lastPaint < kSettled)) {
            while (XPending(display_) > 0) {
                XEvent event{};
                XNextEvent(display_, &event);
                const auto now = Clock::now();
                if (event.type == CreateNotify)
                    damages[event.xcreatewindow.window] = XDamageCreate(
                        display_, event.xcreatewindow.window, XDamageReportRawRectangles);
                else if (event.type == MapNotify && ours == 0 &&
                         titleOf(display_, event.xmap.window) == title)
                    ours = event.xmap.window, mapped = lastPaint = now;
                else if (event.type == damageEvent_ + XDamageNotify &&
                         reinterpret_cast<XDamageNotifyEvent&>(event).drawable == ours)
                    lastPaint = now;
            }
            ::poll(&connection, 1, 5);
        }
        for (const auto& [window, damage] : damages)
            XDamageDestroy(display_, damage);
        XSync(display_, True);
        if (ours == 0)
            return {-1, -1};
        return {Milliseconds(mapped - start).count(), Milliseconds(lastPaint - start).count()};
    }

private:
    Display* display_;
    int damageEvent_ = 0;
};

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

struct Figures {
    std::vector<double> mapped, drawn, rssKb;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string spread(const std::vector<double>& v)
{
    char text[96];
    std::snprintf(text, sizeof text, "median %6.1f ms (min %.1f, max %.1f)", median(v),
                  *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
    kt5::test::X11Session x11;
    kt5::test::TempDir runtime;
    if (!x11.ready()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "DISPLAY=" + x11.displayName(),
                                    "XDG_RUNTIME_DIR=" + runtime.path().string(),
                                    "HOME=" + runtime.path().string()};
    for (const char* passed : {"WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES"})
        if (const char* value = std::getenv(passed))
            env.push_back(std::string(passed) + "=" + value);
    std::vector<Program> programs = programsFrom(argc, argv);
    if (programs.size() != 2)
        programs = {{"minimal Qt window", {KT5_MINIMAL_EXE}, "minimal"},
                    {"kt5_dtmf", {KT5_DTMF_EXE}, std::string(kt5::product::kWindowCaption)}};

    // Interleaved runs, so that drifts of the machine's speed touch both programs alike.
    PaintWatch watch(x11.display());
    Figures figures[2];
    for (int i = 0; i < runs; ++i)
        for (int p = 0; p < 2; ++p) {
            const auto start = Clock::now();
            kt5::test::ChildProcess program(programs[p].command, env);
            const auto [mapped, drawn] = watch.measure(programs[p].title, start);
            if (mapped < 0) {
                std::fprintf(stderr, "%s: no window\n", programs[p].label.c_str());
                return 1;
            }
            figures[p].mapped.push_back(mapped);
            figures[p].drawn.push_back(drawn);
            figures[p].rssKb.push_back(double(peakRssKb(program.pid())));
        }
    for (int p = 0; p < 2; ++p)
        std::printf("%-20s mapped: %s  drawn: %s  peak RSS %5.1f MiB\n", programs[p].label.c_str(),
                    spread(figures[p].mapped).c_str(), spread(figures[p].drawn).c_str(),
                    median(figures[p].rssKb) / 1024.0);
    std::printf(
        "%s / %s:  mapped %.2fx  drawn %.2fx  peak RSS %.2fx  (%d interleaved runs, Xvfb)\n",
        programs[1].label.c_str(), programs[0].label.c_str(),
        median(figures[1].mapped) / median(figures[0].mapped),
        median(figures[1].drawn) / median(figures[0].drawn),
        median(figures[1].rssKb) / median(figures[0].rssKb), runs);
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
    std::printf("%s idle (focused): %.0f ms of CPU time over 10 s\n", programs[1].label.c_str(),
                cpuMs(idle.pid()) - before);
    return 0;
}
