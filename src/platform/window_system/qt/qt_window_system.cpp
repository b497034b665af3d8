#include "qt/qt_window_system.h"

#include "product/product.h"
#include "qt/qt_locale.h"
#include "qt/qt_messages.h"
#include "qt/qt_window.h"
#include "qt_desktop_services.h"
#include "qt_display.h"
#include "qt_text.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>
#include <thread>

namespace kt5::platform::qt {

QtWindowSystem::QtWindowSystem(const std::string& platform, const ProgramIdentity& identity)
    : programName_(product::kProgramName)
    , platform_(platform)
{
    // The compositor shows the menu entry's name and icon for the window.
    QGuiApplication::setDesktopFileName(qtString(identity.desktopId));
    // Fontconfig reads its cache while the display connects, rather than after.
    std::thread warm([] { FcInit(); });
    application_ = std::make_unique<QApplication>(argc_, argv_);
    warm.join();
    desktop_ = std::make_unique<QtDesktopServices>();
}

QtWindowSystem::~QtWindowSystem() = default;

DesktopServices& QtWindowSystem::desktop()
{
    return *desktop_;
}

BuiltWindow QtWindowSystem::buildWindow(const layout::FormLayout& layout, EventSink sink)
{
    auto window = std::make_unique<QtWindow>(layout, std::move(sink));
    desktop_->setOwner(window->widget());
    return {std::move(window), {}};
}

} // namespace kt5::platform::qt

namespace kt5::platform {

StartedWindowSystem startWindowSystem(const ProgramIdentity& identity)
{
    qt::sayQtMessagesAsTheProgram();
    qt::chooseUtf8CharacterTypes();
    const qt::DisplayChoice display = qt::chooseDisplay();
    if (display.platform.empty())
        return {nullptr, display.error};
    return {std::make_unique<qt::QtWindowSystem>(display.platform, identity), {}};
}

} // namespace kt5::platform
