// Form1 built by the Qt backend, on Qt's offscreen platform: what was built, and how it
// behaves under real input events.
#include "fakes/fake_sound_service.h"
#include "platform/qt/qt_platform_services.h"
#include "platform/qt/qt_window.h"
#include "window/event_routes.h"
#include "window/form1_description.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kt5::test {
namespace {

using platform::ControlDescription;
using platform::ControlEvent;

const platform::WindowDescription& form1 = window::form1Description();

// One application object for the whole binary, gone before Qt's own statics are.
class QtApplication : public testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        services = std::make_unique<platform::qt::QtPlatformServices>();
    }
    void TearDown() override { services.reset(); }

    std::unique_ptr<platform::qt::QtPlatformServices> services;
};

auto* const application = testing::AddGlobalTestEnvironment(new QtApplication);

platform::qt::QtPlatformServices& services()
{
    return *static_cast<QtApplication*>(application)->services;
}

QString keyOf(const ControlDescription& c)
{
    return QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size())) +
           (c.index ? QStringLiteral("(%1)").arg(*c.index) : QString());
}

// At 96 DPI a pixel is 15 twips; every size of this window is a whole number of pixels.
QRect pixels(const platform::Rect& r)
{
    return {r.left / 15, r.top / 15, r.width / 15, r.height / 15};
}

// A left click at the centre of `widget`, given to its top-level window the way the window
// system's input arrives, so that modality and stacking apply as they do to a person's click.
void click(QWidget* widget)
{
    QWidget* top = widget->window();
    const QPoint local = widget->mapTo(top, widget->rect().center());
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, local);
}

class QtForm1 : public testing::Test {
protected:
    void SetUp() override
    {
        build([this](const ControlEvent& event) { onEvent(event); });
    }

    // Builds and shows Form1: some of it is completed only as the window is shown.
    void build(platform::EventSink sink)
    {
        window = services().buildWindow(form1, std::move(sink));
        auto& qtWindow = static_cast<platform::qt::QtWindow&>(*window);
        qtWindow.show();
        form = qtWindow.widget();
    }

    template <class T = QWidget>
    T* control(const QString& key) const
    {
        return form->findChild<T*>(key);
    }

    // Runs `body` inside the window's own event loop, then closes the window.
    void whileRunning(const std::function<void()>& body)
    {
        QTimer::singleShot(0, form, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
            body();
            form->close();
        });
        window->showAndRun();
    }

    // Calls `body` with the message box once one is open (polling: the box runs its own loop).
    static void whenMessageBoxOpens(const std::function<void(QMessageBox*)>& body,
                                    int attemptsLeft = 200)
    {
        QTimer::singleShot(10, [=] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible())
                body(box);
            else if (attemptsLeft > 0)
                whenMessageBoxOpens(body, attemptsLeft - 1);
        });
    }

    std::function<void(const ControlEvent&)> onEvent = [this](const ControlEvent& e) {
        if (e.index)
            clicked.push_back(*e.index);
    };
    std::unique_ptr<platform::Window> window;
    QWidget* form = nullptr;
    std::vector<int> clicked;
};

TEST_F(QtForm1, EveryControlIsBuiltWithItsDescribedGeometryAndParent)
{
    EXPECT_EQ(form->size(), QSize(382, 247));
    for (const auto& c : form1.controls) {
        QWidget* widget = control(keyOf(c));
        ASSERT_NE(widget, nullptr) << keyOf(c).toStdString();
        EXPECT_EQ(widget->geometry(), pixels(c.rect)) << keyOf(c).toStdString();
        const QString parent =
            c.parent.empty() ? QStringLiteral("Form1") : QStringLiteral("Frame1");
        EXPECT_EQ(widget->parentWidget()->objectName(), parent) << keyOf(c).toStdString();
    }
}

TEST_F(QtForm1, CaptionsFontsAndColours)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)"));
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_FALSE(form->windowIcon().isNull());

    auto* frame = control<QGroupBox>(QStringLiteral("Frame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QStringLiteral("Remote Control Command"));
    EXPECT_EQ(frame->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_EQ(frame->font().pixelSize(), 11);
    EXPECT_EQ(frame->font().weight(), QFont::Normal);

    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (const auto& c : form1.controls) {
        QWidget* widget = control(keyOf(c));
        const std::string key = keyOf(c).toStdString();
        if (c.kind == platform::ControlKind::CommandButton || c.name.starts_with("Label") ||
            c.name == "txtNum") {
            const bool ownFont = c.name == "Label27";
            EXPECT_EQ(widget->font().pixelSize(), ownFont ? 11 : 13) << key;
            EXPECT_EQ(widget->font().weight(), ownFont ? QFont::Normal : QFont::Bold) << key;
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text().toStdString(), c.caption);
            EXPECT_FALSE(button->isDefault() || button->autoDefault()) << key;
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text().toStdString(), c.caption);
            EXPECT_EQ(label->palette().color(QPalette::Window), buttonFace) << key;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << key << ": text clipped";
        }
    }
    EXPECT_EQ(control<QLabel>(QStringLiteral("Label3"))->palette().color(QPalette::WindowText),
              QApplication::palette().color(QPalette::ButtonText));
    EXPECT_EQ(control<QLabel>(QStringLiteral("Label27"))->palette().color(QPalette::WindowText),
              QColor(128, 128, 128));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("txtNum"))->palette().color(QPalette::Base),
              buttonFace);
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Text10"))->text(), QStringLiteral("Text10"));
}

TEST_F(QtForm1, FixedSizeWithMinimiseAndCloseButNoMaximise)
{
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(QtForm1, ButtonsLieAboveTheFrameAndLabelsBelowButtons)
{
    const auto stackIndex = [&](const QString& key) {
        QWidget* w = control(key);
        return w->parentWidget()->children().indexOf(w);
    };
    EXPECT_GT(stackIndex(QStringLiteral("Command1(9)")), stackIndex(QStringLiteral("Frame1")));
    EXPECT_GT(stackIndex(QStringLiteral("Command1(10)")), stackIndex(QStringLiteral("Frame1")));
    EXPECT_GT(stackIndex(QStringLiteral("Command1(0)")), stackIndex(QStringLiteral("Label3")));
    // Where the catalog label runs under "*00#", the button is what is seen and clicked.
    QWidget* frame = control(QStringLiteral("Frame1"));
    EXPECT_EQ(frame->childAt(289, 30), control(QStringLiteral("Command1(0)")));
}

TEST_F(QtForm1, ButtonsSayWhatTheyDoToAScreenReader)
{
    EXPECT_EQ(control(QStringLiteral("Command1(3)"))->accessibleName(),
              QStringLiteral("*03# PHOTO #3"));
    EXPECT_EQ(control(QStringLiteral("Command1(0)"))->accessibleName(),
              QStringLiteral("*00# DOWNLOAD PHOTO CATALOG INFORMATION"));
}

TEST_F(QtForm1, OpensWithFocusOffScreenAndTabWalksTheFocusOrder)
{
    QStringList visited;
    whileRunning([&] {
        QApplication::setActiveWindow(form);
        visited << QApplication::focusWidget()->objectName();
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
    });

    EXPECT_EQ(visited.join(QLatin1Char(' ')).toStdString(),
              "txtNum Command1(5) Command1(4) Command1(3) Command1(2) Command1(1) Command1(0) "
              "Command1(6) Text10 Command1(7) Command1(8) Command1(9) Command1(10) txtNum");
}

TEST_F(QtForm1, EveryButtonClickedWithTheMouseReachesTheHandlerWithItsIndex)
{
    whileRunning([&] {
        for (int i = 0; i <= 10; ++i)
            click(control(QStringLiteral("Command1(%1)").arg(i)));
        // Labels, frame and text boxes raise nothing.
        click(control(QStringLiteral("Label3")));
        click(control(QStringLiteral("Label5")));
        click(control(QStringLiteral("Frame1")));
    });

    EXPECT_EQ(clicked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(QtForm1, FailedToneShowsOneModalWarningAndTheWindowWorksAfterwards)
{
    FakeSoundService sound;
    sound.result = false;
    tones::ToneCommands commands(services(), sound);
    build([&](const ControlEvent& e) { window::routeEvent(commands, e); });

    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::size_t playedWhileOpen = 0;
    int boxes = 0;
    whileRunning([&] {
        whenMessageBoxOpens([&](QMessageBox* box) {
            ++boxes;
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            EXPECT_TRUE(box->isModal());
            click(control(QStringLiteral("Command1(7)")));
            playedWhileOpen = sound.played.size() - 1;
            box->button(QMessageBox::Ok)->click();
        });
        click(control(QStringLiteral("Command1(3)")));
        sound.result = true;
        click(control(QStringLiteral("Command1(6)")));
    });

    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, QStringLiteral("Error playing DTMF tone"));
    EXPECT_EQ(title, QStringLiteral("Error"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(playedWhileOpen, 0u) << "a click on the window reached it while the box was open";
    ASSERT_EQ(sound.played.size(), 2u);
    EXPECT_TRUE(sound.played[1].ends_with("/06.wav"));
}

} // namespace
} // namespace kt5::test
