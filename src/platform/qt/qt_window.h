#pragma once

#include "platform/window.h"
#include "platform/window_description.h"

#include <QWidget>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace kt5::platform::qt {

// A window built with Qt Widgets from a description. Controls carry their name as object
// name, array members as "Name(Index)".
class QtWindow final : public Window {
public:
    QtWindow(const WindowDescription& description, EventSink sink);
    ~QtWindow() override;

    void showAndRun() override;
    // Shows the window and completes it; showAndRun() without the loop.
    void show();
    QWidget* widget() const { return form_.get(); }

private:
    void addControl(const ControlDescription& control);
    QWidget* buildControl(const ControlDescription& control);
    void applyStacking();
    void applyFocusOrder();
    void applyAccessibleNames();
    void applyFontsAndTexts();
    void stopUnseenCaretBlinking();

    const WindowDescription& description_;
    EventSink sink_;
    std::unique_ptr<QWidget> form_;
    std::map<std::string_view, QWidget*> byName_;
    std::vector<std::pair<const ControlDescription*, QWidget*>> built_;
    QWidget* initialFocus_ = nullptr;
};

} // namespace kt5::platform::qt
