#include "qt/qt_window.h"

#include "layout/font_fitting.h"
#include "qt/qt_style.h"
#include "qt_accessibility.h"
#include "qt_frame.h"
#include "qt_text.h"
#include "qt_units.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleHints>

// The program's icon as the image source it is drawn in: read without an image reader, which
// would look for its plugins first.
#include "kt5_dtmf.xpm"

namespace kt5::platform::qt {

namespace {

// Which palette roles hold a kind of control's text and background colours.
std::pair<QPalette::ColorRole, QPalette::ColorRole> rolesOf(layout::ControlKind kind)
{
    switch (kind) {
    case layout::ControlKind::CommandButton:
        return {QPalette::ButtonText, QPalette::Button};
    case layout::ControlKind::TextBox:
        return {QPalette::Text, QPalette::Base};
    case layout::ControlKind::Frame:
    case layout::ControlKind::Label:
        break;
    }
    return {QPalette::WindowText, QPalette::Window};
}

void applyColours(QWidget& widget, const layout::ControlLayout& control)
{
    const auto [text, background] = rolesOf(control.kind);
    QPalette palette = widget.palette();
    palette.setColor(text, qtColour(control.foreground));
    palette.setColor(background, qtColour(control.background));
    // Styles draw a button's outline from the colour around it, which must not be that of
    // the button's parent when the button lies above a frame it does not belong to.
    if (control.kind == layout::ControlKind::CommandButton)
        palette.setColor(QPalette::Window, qtColour(control.background));
    if (palette != widget.palette()) // what is inherited already costs nothing to keep
        widget.setPalette(palette);
    widget.setAutoFillBackground(control.kind == layout::ControlKind::Frame ||
                                 control.kind == layout::ControlKind::Label);
}

// The window itself. Where the window system draws no border of its own, Qt draws a title
// bar with a maximise button whatever the window's flags (its Wayland decorations); a window
// of fixed size that cannot be maximised goes back to its own size at once.
class QtForm final : public QWidget {
public:
    explicit QtForm(bool maximizable)
        : maximizable_(maximizable)
    {
    }

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange && !maximizable_ && isMaximized())
            setWindowState(windowState() & ~Qt::WindowMaximized);
        QWidget::changeEvent(event);
    }

private:
    bool maximizable_;
};

} // namespace

QtWindow::QtWindow(const layout::FormLayout& layout, EventSink sink)
    : layout_(layout)
    , sink_(std::move(sink))
    , form_(std::make_unique<QtForm>(layout.maximizeButton))
{
    // First, as each control is presented before it is named: what Qt tells assistive
    // technology of a widget before it is presented goes Qt's own way.
    presentAsFrame(*form_);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (layout.minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (layout.maximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    form_->setWindowFlags(flags);
    form_->setObjectName(qtString(layout.name));
    form_->setWindowTitle(qtString(layout.caption));
    form_->setWindowIcon(QPixmap(kt5_dtmf_xpm)); // the program's one icon, whatever its name
    form_->setFixedSize(pixelsFromTwips(layout.clientWidth), pixelsFromTwips(layout.clientHeight));
    form_->setAutoFillBackground(true);
    QPalette palette = form_->palette();
    palette.setColor(QPalette::Window, qtColour(layout.background));
    form_->setPalette(palette);

    for (const auto& control : layout.controls) {
        QWidget* widget = createControl(control);
        if (!control.onScreen)
            presentNothingOf(*widget);
        widget->setObjectName(qtString(control.id));
        widget->setGeometry(pixelsFromTwips(control.rect));
        widget->setFocusPolicy(control.takesFocus ? Qt::StrongFocus : Qt::NoFocus);
        widget->setAccessibleName(qtString(control.accessibleName));
        applyColours(*widget, control);
        controls_.push_back(widget);
    }
    applyStackingAndFocus();
}

QtWindow::~QtWindow() = default;

QWidget* QtWindow::createControl(const layout::ControlLayout& control)
{
    QWidget* parent = control.parent ? controls_.at(*control.parent) : form_.get();
    const QString text = qtString(control.text);
    switch (control.kind) {
    case layout::ControlKind::Frame:
        // Children are placed from the frame's outer corner, with no inset for its border or
        // caption.
        return new QtFrame(layout_.frameCaption, parent);
    case layout::ControlKind::CommandButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        QObject::connect(button, &QPushButton::clicked, button, [this, &control] {
            sink_(ControlEvent{static_cast<std::size_t>(&control - layout_.controls.data()),
                               EventKind::Click});
        });
        return button;
    }
    case layout::ControlKind::TextBox:
        return new QLineEdit(text, parent);
    case layout::ControlKind::Label:
        break;
    }
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Fonts, the widths of labels whose text needs more than their box, and the frame titles
// laid out in those fonts are set once the window has been asked to map: the first text layout
// loads the font database, which the X server's work on the map need not wait for. Nothing is
// painted before the event loop runs, so the window is never seen without them. Set on every
// control: a frame's own font must not pass to the controls inside it.
void QtWindow::applyFontsAndTitles()
{
    const layout::TextMeasure measure{
        .width =
            [](const layout::Font& font, std::string_view text) {
                return twipsFromPixels(
                    QFontMetricsF(qtFont(font)).horizontalAdvance(qtString(text)));
            },
        .stem = qtStemWidth};
    const layout::FittedFonts fitted = layout::fitFonts(layout_, measure);
    std::vector<QFont> fonts;
    for (const layout::Font& font : fitted.fonts)
        fonts.push_back(qtFont(font));
    form_->setFont(fonts.front());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i]->font() != fonts.at(fitted.fontOfControl[i]))
            controls_[i]->setFont(fonts.at(fitted.fontOfControl[i]));
        controls_[i]->resize(pixelsFromTwips(fitted.widthOfControl[i]), controls_[i]->height());
        if (layout_.controls[i].kind == layout::ControlKind::Frame)
            static_cast<QtFrame*>(controls_[i])->setTitle(qtString(layout_.controls[i].text));
    }
}

void QtWindow::applyStackingAndFocus()
{
    for (const std::size_t i : layout_.stacking)
        controls_[i]->raise();
    for (std::size_t i = 1; i < layout_.focusOrder.size(); ++i)
        QWidget::setTabOrder(controls_[layout_.focusOrder[i - 1]],
                             controls_[layout_.focusOrder[i]]);
}

void QtWindow::show()
{
    form_->show();
    applyFontsAndTitles();
    if (layout_.steadyCaret)
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    if (!layout_.focusOrder.empty())
        controls_[layout_.focusOrder.front()]->setFocus(Qt::OtherFocusReason);
}

void QtWindow::showAndRun()
{
    show();
    // Clicks on a button run their handler to completion inside this loop; input that
    // arrives meanwhile waits in the queue and is delivered afterwards, in order.
    QApplication::exec();
}

} // namespace kt5::platform::qt
