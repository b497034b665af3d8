#include "qt_desktop_services.h"

#include "qt_text.h"

#include <QMessageBox>

namespace kt5::platform::qt {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

} // namespace

void QtDesktopServices::messageBox(std::string_view text, std::string_view title, MessageIcon icon)
{
    // Application-modal: clicks on the window while the box is open are refused, not queued.
    QMessageBox box(qtIcon(icon), qtString(title), qtString(text), QMessageBox::Ok, owner_.data());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace kt5::platform::qt
