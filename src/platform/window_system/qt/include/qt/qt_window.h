#pragma once

#include "layout/form_layout.h"
#include "platform/window.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace kt5::platform::qt {

// A window built with Qt Widgets from a layout. Controls carry their id as object name.
class QtWindow final : public Window {
public:
    QtWindow(const layout::FormLayout& layout, EventSink sink);
    ~QtWindow() override;

    void showAndRun() override;
    // Shows the window and gives the focus to its first control; showAndRun() without the loop.
    void show();
    QWidget* widget() const { return form_.get(); }
    QWidget* control(std::size_t index) const { return controls_.at(index); }

private:
    QWidget* createControl(const layout::ControlLayout& control);
    void applyFontsAndTitles();
    void applyStackingAndFocus();

    const layout::FormLayout& layout_;
    EventSink sink_;
    std::unique_ptr<QWidget> form_;
    std::vector<QWidget*> controls_; // by index in the layout; owned by form_
};

} // namespace kt5::platform::qt
