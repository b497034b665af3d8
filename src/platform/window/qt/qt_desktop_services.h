#pragma once

#include "platform/desktop_services.h"

#include <QPointer>
#include <QWidget>

namespace kt5::platform::qt {

// The desktop services on Qt: the box is a QMessageBox, modal over the program's window.
class QtDesktopServices final : public DesktopServices {
public:
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    NativeString applicationDirectory() override;
    void reportError(std::string_view line) override;

    void setOwner(QWidget* window) { owner_ = window; }

private:
    QPointer<QWidget> owner_;
};

} // namespace kt5::platform::qt
