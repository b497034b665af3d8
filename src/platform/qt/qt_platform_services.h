#pragma once

#include "platform/platform_services.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QApplication;

namespace kt5::platform::qt {

// The platform services on Qt Widgets. Owns the application object, made when the window is
// built: one per process, with no command line, so no argument can change the program.
class QtPlatformServices final : public PlatformServices {
public:
    QtPlatformServices();
    ~QtPlatformServices() override;

    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    NativeString applicationDirectory() override;
    void reportError(std::string_view line) override;
    BuiltWindow buildWindow(const WindowLayout& layout, EventSink sink) override;

private:
    int argc_ = 1;
    char programName_[9] = "kt5_dtmf";
    char* argv_[2] = {programName_, nullptr};
    std::unique_ptr<QApplication> application_;
    QPointer<QWidget> window_; // the owner of message boxes
};

} // namespace kt5::platform::qt
