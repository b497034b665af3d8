#include "platform/qt/qt_platform_services.h"

#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace kt5::platform::qt {

namespace {

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case kMbIconExclamation:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtPlatformServices::QtPlatformServices()
    : application_(std::make_unique<QApplication>(argc_, argv_))
{
}

QtPlatformServices::~QtPlatformServices() = default;

void QtPlatformServices::messageBox(std::string_view text, std::string_view title, int style)
{
    // Application-modal: clicks on the window while the box is open are refused, not queued.
    QMessageBox box(iconFor(style), qtString(title), qtString(text), QMessageBox::Ok,
                    window_.data());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

NativeString QtPlatformServices::applicationDirectory()
{
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

std::unique_ptr<Window> QtPlatformServices::buildWindow(const WindowDescription& description,
                                                        EventSink sink)
{
    auto window = std::make_unique<QtWindow>(description, std::move(sink));
    window_ = window->widget();
    return window;
}

} // namespace kt5::platform::qt

namespace kt5::platform {

std::unique_ptr<PlatformServices> createPlatformServices()
{
    return std::make_unique<qt::QtPlatformServices>();
}

} // namespace kt5::platform
