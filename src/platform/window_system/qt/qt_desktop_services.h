#pragma once

#include "os/system_desktop_services.h"

#include <QPointer>
#include <QWidget>

namespace kt5::platform::qt {

// The box is a QMessageBox, application-modal over the window built last.
class QtDesktopServices final : public os::SystemDesktopServices {
public:
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    void setOwner(QWidget* window) { owner_ = window; }

private:
    QPointer<QWidget> owner_;
};

} // namespace kt5::platform::qt
