#include "platform/qt/qt_platform_services.h"

#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace kt5::platform::qt {

namespace {

void printError(std::string_view line)
{
    std::fprintf(stderr, "kt5_dtmf: %.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stderr);
}

// Qt reports a windowing system it cannot reach (no display) in a few warnings and then a
// fatal message, after which it aborts. Its handler is the one place left to say what failed
// in one line and end with an ordinary failure status. Qt takes a plain function, so what the
// handler has heard so far lives here.
std::string firstStartWarning;

void handleStartMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        if (firstStartWarning.empty())
            firstStartWarning = message.toStdString();
        return;
    }
    printError("cannot open the window: " +
               (firstStartWarning.empty() ? message.toStdString() : firstStartWarning));
    std::_Exit(1);
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPlatformServices::QtPlatformServices() = default;

QtPlatformServices::~QtPlatformServices() = default;

void QtPlatformServices::messageBox(std::string_view text, std::string_view title, MessageIcon icon)
{
    // Application-modal: clicks on the window while the box is open are refused, not queued.
    QMessageBox box(qtIcon(icon), qtString(title), qtString(text), QMessageBox::Ok, window_.data());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

// The executable's own path as the kernel gives it, bytes and all: a directory whose name is
// not valid in any encoding must still be found.
NativeString QtPlatformServices::applicationDirectory()
{
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length <= 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

void QtPlatformServices::reportError(std::string_view line)
{
    printError(line);
}

BuiltWindow QtPlatformServices::buildWindow(const WindowLayout& layout, EventSink sink)
{
    if (!application_) {
        const QtMessageHandler previous = qInstallMessageHandler(&handleStartMessage);
        std::thread warm([] { FcInit(); });
        application_ = std::make_unique<QApplication>(argc_, argv_);
        warm.join();
        qInstallMessageHandler(previous);
    }
    auto window = std::make_unique<QtWindow>(layout, std::move(sink));
    window_ = window->widget();
    return {std::move(window), {}};
}

} // namespace kt5::platform::qt

namespace kt5::platform {

std::unique_ptr<PlatformServices> createPlatformServices()
{
    return std::make_unique<qt::QtPlatformServices>();
}

} // namespace kt5::platform
