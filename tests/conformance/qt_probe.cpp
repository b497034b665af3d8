// The conformance suite's view of the Qt backend, offscreen. Input goes through QTest to the
// top-level window, as the window system's does, so that modality and stacking apply.
#include "conformance/window_probe.h"
#include "platform/window_system.h"
#include "product/product.h"
#include "qt/qt_window.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace kt5::test {
namespace {

constexpr platform::ProgramIdentity kIdentity{product::kDisplayName, product::kDesktopId};

class QtProbe final : public WindowProbe {
public:
    QtProbe()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (const char* scale = std::getenv("KT5_TEST_SCALE"))
            qputenv("QT_SCALE_FACTOR", scale);
        started_ = platform::startWindowSystem(kIdentity);
    }

    platform::DesktopServices& desktop() override { return started_.system->desktop(); }

    void open(const layout::FormLayout& layout, platform::EventSink sink) override
    {
        layout_ = &layout;
        built_ = started_.system->buildWindow(layout, std::move(sink));
        window_ = static_cast<platform::qt::QtWindow*>(built_.window.get());
        window_->show();
        activate();
    }

    double scale() override { return window_->widget()->devicePixelRatioF(); }

    Box client() override { return device(window_->widget()->rect()); }

    Box rectOf(std::size_t control) override
    {
        QWidget* widget = window_->control(control);
        return device({widget->mapTo(window_->widget(), QPoint(0, 0)), widget->size()});
    }

    // Resizable by the window manager, by a maximise button, or by the request to maximise
    // that the title bar Qt draws itself on Wayland sends whatever the window's flags.
    bool resizable() override
    {
        QWidget* form = window_->widget();
        form->windowHandle()->setWindowStates(Qt::WindowMaximized);
        QApplication::processEvents();
        return form->minimumSize() != form->maximumSize() || form->isMaximized() ||
               form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
    }

    bool hasIcon() override { return !window_->widget()->windowIcon().isNull(); }

    int textWidth(std::size_t control) override
    {
        const QFont font = window_->control(control)->font();
        const auto text = layout_->controls[control].text;
        return static_cast<int>(std::ceil(
            QFontMetricsF(font).horizontalAdvance(QString::fromUtf8(text.data(), text.size())) *
            scale()));
    }

    Pixel pixel(int x, int y) override
    {
        if (drawn_.isNull())
            drawn_ = window_->widget()->grab().toImage();
        return pixelOf(drawn_.pixelColor(x, y));
    }

    std::pair<Pixel, Pixel> desktopButtonFaceAndText() override
    {
        const QPalette desktop = QApplication::palette();
        return {pixelOf(desktop.button().color()), pixelOf(desktop.buttonText().color())};
    }

    std::string accessibleName(std::size_t control) override
    {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(window_->control(control));
        return accessible != nullptr ? accessible->text(QAccessible::Name).toStdString() : "";
    }

    // Neither hidden nor off screen, as a screen reader reads it wherever it meets it; and on
    // Qt among its parent's children exactly then, as a screen reader walks the tree.
    bool presentedAsVisible(std::size_t control) override
    {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(window_->control(control));
        if (accessible == nullptr || accessible->parent() == nullptr)
            return false;
        const QAccessible::State state = accessible->state();
        const bool visible = !state.invisible && !state.offscreen;
        EXPECT_EQ(accessible->parent()->indexOfChild(accessible) >= 0, visible)
            << layout_->controls[control].id << " is listed otherwise than it is presented";
        return visible;
    }

    std::optional<std::size_t> focused() override
    {
        for (std::size_t i = 0; i < layout_->controls.size(); ++i)
            if (window_->control(i) == QApplication::focusWidget())
                return i;
        return std::nullopt;
    }

    void press(Key key) override
    {
        const Qt::Key code = key == Key::Tab     ? Qt::Key_Tab
                             : key == Key::Space ? Qt::Key_Space
                                                 : Qt::Key_Return;
        QTest::keyClick(window_->widget()->windowHandle(), code);
        drawn_ = {};
        // The filter that keeps a screen reader from hearing of focus on an unseen control,
        // handed the focus event as Qt hands it over when a screen reader listens (offscreen,
        // none does), stays in place once it has passed one on.
        const QAccessible::UpdateHandler filter = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(filter);
        QAccessibleEvent focus(window_->widget(), QAccessible::Focus);
        if (filter != nullptr)
            filter(&focus);
        EXPECT_TRUE(filter != nullptr && QAccessible::installUpdateHandler(filter) == filter)
            << "accessibility events no longer filtered";
    }

    void click(std::size_t control) override
    {
        QWidget* widget = window_->control(control);
        const QPoint centre = widget->mapTo(window_->widget(), widget->rect().center());
        QTest::mouseClick(window_->widget()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          centre);
        drawn_ = {};
    }

    void activate() override
    {
        // QApplication::setActiveWindow, deprecated since Qt 6.5, did this at once.
        window_->widget()->activateWindow();
        if (!QTest::qWaitForWindowActive(window_->widget()))
            qFatal("the window did not become active");
    }

    std::optional<MessageBoxSeen> boxShownBy(const std::function<void()>& trigger,
                                             const std::function<void()>& whileOpen) override
    {
        std::optional<MessageBoxSeen> seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible() || seen)
                return;
            seen = MessageBoxSeen{box->text().toStdString(), box->windowTitle().toStdString(),
                                  box->icon() == QMessageBox::Warning};
            whileOpen();
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        });
        poll.start(10);
        trigger();
        return seen;
    }

private:
    static Pixel pixelOf(const QColor& c) { return {c.red(), c.green(), c.blue()}; }
    Box device(const QRect& logical)
    {
        const QRect r = QRectF(logical.topLeft() * scale(), logical.size() * scale()).toRect();
        return {r.x(), r.y(), r.width(), r.height()};
    }

    platform::StartedWindowSystem started_;
    const layout::FormLayout* layout_ = nullptr;
    platform::BuiltWindow built_;
    platform::qt::QtWindow* window_ = nullptr;
    QImage drawn_;
};

} // namespace

std::unique_ptr<WindowProbe> makeWindowProbe()
{
    return std::make_unique<QtProbe>();
}

} // namespace kt5::test
