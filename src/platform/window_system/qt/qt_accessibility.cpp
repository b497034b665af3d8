#include "qt_accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace kt5::platform::qt {

namespace {

// Which widgets are presented in which way, as a property of each: Qt asks a factory by
// object, with nothing else to go by.
constexpr char kPresentedAs[] = "kt5.presentedAs";
constexpr int kFrame = 1;
constexpr int kNothing = 2;

int presentedAs(const QObject* object)
{
    return object->property(kPresentedAs).toInt();
}

class FrameAccessible final : public QAccessibleWidget {
public:
    explicit FrameAccessible(QWidget* form)
        : QAccessibleWidget(form, QAccessible::Window)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? widget()->windowTitle() : QAccessibleWidget::text(kind);
    }
    int childCount() const override { return static_cast<int>(presentedChildren().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = presentedChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr ? static_cast<int>(presentedChildren().indexOf(child->object()))
                                : -1;
    }

private:
    QList<QWidget*> presentedChildren() const
    {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child != nullptr && !child->isWindow() && presentedAs(child) != kNothing)
                children.append(child);
        }
        return children;
    }
};

class UnpresentedAccessible final : public QAccessibleWidget {
public:
    explicit UnpresentedAccessible(QWidget* control)
        : QAccessibleWidget(control, QAccessible::NoRole)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = true;
        state.offscreen = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

// Qt keeps the interfaces it is given, and deletes them with their widgets.
QAccessibleInterface* presentation(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    switch (presentedAs(widget)) {
    case kFrame:
        return new FrameAccessible(widget);
    case kNothing:
        return new UnpresentedAccessible(widget);
    default:
        return nullptr; // Qt's own
    }
}

// Qt tells assistive technology of every focus and text change, of any widget; for one not
// presented there, nothing is passed on, so a screen reader has nothing to announce when the
// focus rests there. Everything else goes its usual way, to the accessibility bridge.
void passOnWhatIsPresented(QAccessibleEvent* event)
{
    if (event->object() != nullptr && presentedAs(event->object()) == kNothing)
        return;
    QAccessible::installUpdateHandler(nullptr); // the bridge's own path, this once
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&passOnWhatIsPresented);
}

void installPresentation()
{
    static const bool installed = [] {
        QAccessible::installFactory(&presentation);
        QAccessible::installUpdateHandler(&passOnWhatIsPresented);
        return true;
    }();
    (void)installed;
}

// Qt makes a widget's interface the first time anything asks for one and keeps it for the
// widget's life, so one asked for before the widget's presentation was set is Qt's own, and the
// factory is never asked again. Anything asks: every Qt 6 makes the interface of an accessibility
// event's widget, listened to or not (setAccessibleName sends one), and Qt 6.8's setWindowTitle
// asks for the window's to compare its name (6.4's does not). Such an interface is dropped.
template <typename Presentation>
void present(QWidget& widget, int as)
{
    installPresentation();
    widget.setProperty(kPresentedAs, as);
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    if (made != nullptr && dynamic_cast<Presentation*>(made) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace

void presentAsFrame(QWidget& form)
{
    present<FrameAccessible>(form, kFrame);
}

void presentNothingOf(QWidget& control)
{
    present<UnpresentedAccessible>(control, kNothing);
}

} // namespace kt5::platform::qt
