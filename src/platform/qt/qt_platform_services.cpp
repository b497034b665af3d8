#include "platform/qt/qt_platform_services.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace kt5::platform::qt {

namespace {

QMessageBox::Icon iconFor(int style) {
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

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtPlatformServices::messageBox(std::string_view text, std::string_view title, int style) {
    // Application-modal and owned by the active window, so clicks on the window meanwhile
    // are refused rather than queued up for later.
    QMessageBox box(iconFor(style), fromUtf8(title), fromUtf8(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

NativeString QtPlatformServices::applicationDirectory() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

} // namespace kt5::platform::qt
