#include "qt_display.h"

#include "os/diagnostics.h"
#include "os/shared_library.h"

#include <QDir>
#include <QLibraryInfo>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kt5::platform::qt {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// libwayland's own complaints, as the program's lines: it writes them to standard error
// itself otherwise, unlike Qt's, which pass through its message handler.
void sayWhatWaylandSays(const char* format, std::va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::string line = text;
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    os::printDiagnostic("the Wayland connection: " + line);
}

// Whether a compositor answers on the Wayland display `name`, asked through libwayland, as Qt
// would ask it.
bool waylandAnswers(const std::string& name)
{
    struct Display;
    static os::SharedLibrary library("libwayland-client.so.0");
    Display* (*connect)(const char*) = nullptr;
    void (*disconnect)(Display*) = nullptr;
    void (*setLogHandler)(void (*)(const char*, std::va_list)) = nullptr;
    if (!library.bind("wl_display_connect", connect) ||
        !library.bind("wl_display_disconnect", disconnect) ||
        !library.bind("wl_log_set_handler_client", setLogHandler))
        return false;
    setLogHandler(&sayWhatWaylandSays);
    Display* display = connect(name.c_str());
    if (display != nullptr)
        disconnect(display);
    return display != nullptr;
}

// Whether an X server answers on `name`, asked through libxcb, which Qt's X11 plugin loads
// anyway.
bool x11Answers(const std::string& name)
{
    struct Connection;
    static os::SharedLibrary library("libxcb.so.1");
    Connection* (*connect)(const char*, int*) = nullptr;
    int (*hasError)(Connection*) = nullptr;
    void (*disconnect)(Connection*) = nullptr;
    if (!library.bind("xcb_connect", connect) ||
        !library.bind("xcb_connection_has_error", hasError) ||
        !library.bind("xcb_disconnect", disconnect))
        return false;
    Connection* connection = connect(name.c_str(), nullptr);
    const bool answers = hasError(connection) == 0;
    disconnect(connection); // also for a connection in error, which xcb_connect always returns
    return answers;
}

bool hasWaylandPlugin()
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QLatin1String("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty();
}

// Why the Wayland display named cannot be used, or nothing.
std::string whyNotWayland(const std::string& name)
{
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    if (!name.starts_with('/') && (runtime.empty() || !std::filesystem::is_directory(runtime)))
        return "XDG_RUNTIME_DIR is not set to a directory, so the Wayland display " + name +
               " cannot be found";
    if (!hasWaylandPlugin())
        return "Qt's Wayland platform plugin (qt6-wayland) is not installed for the Wayland "
               "display " +
               name;
    if (!waylandAnswers(name))
        return "could not connect to the Wayland display " + name;
    return {};
}

} // namespace

DisplayChoice chooseDisplay()
{
    if (const std::string chosen = environment("QT_QPA_PLATFORM"); !chosen.empty())
        return {chosen, {}};
    const std::string wayland = environment("WAYLAND_DISPLAY");
    const std::string x11 = environment("DISPLAY");
    if (wayland.empty() && x11.empty())
        return {{}, "no display is set (neither WAYLAND_DISPLAY nor DISPLAY)"};

    std::string why;
    if (!wayland.empty()) {
        why = whyNotWayland(wayland);
        if (why.empty())
            return {"wayland", {}};
    }
    if (!x11.empty()) {
        if (x11Answers(x11))
            return {"xcb", {}};
        why += (why.empty() ? "" : ", and ") + std::string("could not connect to display ") + x11;
    }
    return {{}, why};
}

} // namespace kt5::platform::qt
