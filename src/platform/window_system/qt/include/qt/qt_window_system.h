#pragma once

#include "platform/window_system.h"

#include <memory>
#include <string>

class QApplication;

namespace kt5::platform::qt {

class QtDesktopServices;

// The window system on Qt Widgets. Owns the application object, one per process, made with
// no argument of the user's: none can change the program.
class QtWindowSystem final : public WindowSystem {
public:
    // Qt started on `platform`, one of its plugins.
    QtWindowSystem(const std::string& platform, const ProgramIdentity& identity);
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    DesktopServices& desktop() override;
    BuiltWindow buildWindow(const layout::FormLayout& layout, EventSink sink) override;

private:
    std::string programName_;
    std::string platformOption_ = "-platform";
    std::string platform_;
    int argc_ = 3;
    char* argv_[4] = {programName_.data(), platformOption_.data(), platform_.data(), nullptr};
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QtDesktopServices> desktop_;
};

} // namespace kt5::platform::qt
