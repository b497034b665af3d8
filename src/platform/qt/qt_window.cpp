#include "platform/qt/qt_window.h"

#include "platform/qt/qt_style.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_units.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleHints>

#include <algorithm>

namespace kt5::platform::qt {

namespace {

QString objectNameOf(const ControlDescription& c)
{
    return c.index ? QStringLiteral("%1(%2)").arg(qtString(c.name)).arg(*c.index)
                   : qtString(c.name);
}

void setColor(QWidget& widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}

// Each distinct font of the description, fitted so that every label using it shows its
// whole text.
class FittedFonts {
public:
    explicit FittedFonts(const WindowDescription& d)
    {
        std::vector<std::pair<Font, std::vector<std::pair<QString, int>>>> uses{{d.font, {}}};
        for (const auto& c : d.controls) {
            const Font& font = c.font.value_or(d.font);
            auto use = std::find_if(uses.begin(), uses.end(),
                                    [&](const auto& u) { return u.first == font; });
            if (use == uses.end())
                use = uses.insert(uses.end(), {font, {}});
            if (c.kind == ControlKind::Label && !c.caption.empty())
                use->second.emplace_back(qtString(c.caption), pixelsFromTwips(c.rect.width));
        }
        for (const auto& [font, texts] : uses)
            fonts_.emplace_back(font, qtFont(font, texts));
    }

    const QFont& of(const Font& font) const
    {
        return std::find_if(fonts_.begin(), fonts_.end(),
                            [&](const auto& f) { return f.first == font; })
            ->second;
    }

private:
    std::vector<std::pair<Font, QFont>> fonts_;
};

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::CommandButton || kind == ControlKind::TextBox;
}

} // namespace

QtWindow::QtWindow(const WindowDescription& description, EventSink sink)
    : description_(description)
    , sink_(std::move(sink))
    , form_(std::make_unique<QWidget>())
{
    const auto& d = description_;

    // Fixed single border: minimise and close, no maximise, and a size the window manager
    // cannot change.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (d.minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (d.maximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    form_->setWindowFlags(flags);
    form_->setObjectName(qtString(d.name));
    form_->setWindowTitle(qtString(d.caption));
    // Read as PNG by name: left to guess the format, Qt would load every image plugin first.
    form_->setWindowIcon(QPixmap(QStringLiteral(":/icons/%1.png").arg(qtString(d.icon)), "PNG"));
    form_->setFixedSize(pixelsFromTwips(d.clientWidth), pixelsFromTwips(d.clientHeight));
    form_->setAutoFillBackground(true);
    setColor(*form_, QPalette::Window, qtColor(d.backColor));

    for (const auto& control : d.controls)
        if (control.kind != ControlKind::TextBox)
            addControl(control);
}

void QtWindow::addControl(const ControlDescription& control)
{
    QWidget* widget = buildControl(control);
    widget->show(); // seen with its parent, also when added to a window already shown
    built_.emplace_back(&control, widget);
    if (!control.index)
        byName_.emplace(control.name, widget);
}

// What lays out text waits until the window has been asked to map: the first text layout
// loads the font database, which need not delay the window's appearance. Nothing is painted
// before the event loop runs, so the window is never seen unfinished.
void QtWindow::show()
{
    if (form_->isVisible())
        return;
    form_->show();
    for (const auto& control : description_.controls)
        if (control.kind == ControlKind::TextBox)
            addControl(control);
    applyFontsAndTexts();
    applyStacking();
    applyFocusOrder();
    applyAccessibleNames();
    stopUnseenCaretBlinking();
    if (initialFocus_ != nullptr)
        initialFocus_->setFocus(Qt::OtherFocusReason);
}

QtWindow::~QtWindow() = default;

QWidget* QtWindow::buildControl(const ControlDescription& c)
{
    QWidget* parent = form_.get();
    if (!c.parent.empty())
        parent = byName_.at(c.parent);
    const QString caption = qtString(c.caption);
    QWidget* widget = nullptr;

    switch (c.kind) {
    case ControlKind::Frame: {
        // Children are placed from the frame's outer corner, as described, with no inset for
        // its border or caption.
        // Titled with the fonts, after the window is mapped: measuring a title loads the font
        // database.
        auto* frame = new QGroupBox(parent);
        frame->setFocusPolicy(Qt::NoFocus);
        frame->setAutoFillBackground(true);
        setColor(*frame, QPalette::Window, qtColor(c.backColor.value_or(kButtonFace)));
        const QColor captionColor = qtColor(c.foreColor.value_or(kButtonText));
        setColor(*frame, QPalette::WindowText, captionColor);
        setColor(*frame, QPalette::Text, captionColor);
        widget = frame;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(button, &QPushButton::clicked, button, [this, &c] {
            sink_(ControlEvent{c.name, c.index, EventKind::Click});
        });
        widget = button;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        label->setAutoFillBackground(true);
        setColor(*label, QPalette::Window, qtColor(c.backColor.value_or(kButtonFace)));
        setColor(*label, QPalette::WindowText, qtColor(c.foreColor.value_or(kButtonText)));
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(parent); // its text is set with the fonts
        edit->setFocusPolicy(Qt::StrongFocus);
        if (c.backColor)
            setColor(*edit, QPalette::Base, qtColor(*c.backColor));
        if (c.foreColor)
            setColor(*edit, QPalette::Text, qtColor(*c.foreColor));
        widget = edit;
        break;
    }
    }
    widget->setObjectName(objectNameOf(c));
    widget->setGeometry(pixelsFromTwips(c.rect));
    return widget;
}

// Labels are drawn on their parent's surface, below every control of the same parent that is
// a window of its own; among those, later ones lie above earlier ones.
void QtWindow::applyStacking()
{
    for (const auto& [control, widget] : built_)
        if (control->kind == ControlKind::Label)
            widget->lower();
}

void QtWindow::applyFocusOrder()
{
    std::vector<std::pair<int, QWidget*>> order;
    for (const auto& [control, widget] : built_)
        if (takesFocus(control->kind) && control->tabIndex)
            order.emplace_back(*control->tabIndex, widget);
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    initialFocus_ = order.empty() ? nullptr : order.front().second;
}

// A screen reader says what a button does, not only its key sequence: "*03# PHOTO #3".
void QtWindow::applyAccessibleNames()
{
    for (const auto& [control, widget] : built_) {
        if (control->labelledBy.empty())
            continue;
        const auto label = std::find_if(built_.begin(), built_.end(), [&](const auto& entry) {
            return entry.first->name == control->labelledBy;
        });
        if (label != built_.end())
            widget->setAccessibleName(qtString(control->caption) + QLatin1Char(' ') +
                                      qtString(label->first->caption));
    }
}

// Fonts, and the frame titles and text box texts laid out with them, are set once the window
// has been asked to map: the first text layout loads the font database, which need not delay
// the window's appearance. Nothing is painted before the event loop runs, so the window is never
// seen without them.
void QtWindow::applyFontsAndTexts()
{
    const FittedFonts fonts(description_);
    form_->setFont(fonts.of(description_.font));
    for (const auto& [control, widget] : built_) {
        // Set on every control: a frame's own font must not pass to the controls inside it.
        widget->setFont(fonts.of(control->font.value_or(description_.font)));
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            frame->setTitle(qtString(control->caption));
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(qtString(control->caption));
    }
}

// A text box outside the client area still blinks its caret twice a second while it has the
// focus, waking the program for nothing anyone can see. Where no text box can be seen, the
// caret stays steady instead.
void QtWindow::stopUnseenCaretBlinking()
{
    const bool anyTextBoxSeen = std::any_of(built_.begin(), built_.end(), [&](const auto& entry) {
        QWidget* w = entry.second;
        return entry.first->kind == ControlKind::TextBox &&
               QRect(w->mapTo(form_.get(), QPoint()), w->size()).intersects(form_->rect());
    });
    if (!anyTextBoxSeen)
        QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void QtWindow::showAndRun()
{
    show();
    // Clicks on a button run their handler to completion inside this loop; input that
    // arrives meanwhile waits in the queue and is delivered afterwards, in order.
    QApplication::exec();
}

} // namespace kt5::platform::qt
