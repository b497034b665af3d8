#include "qt/qt_messages.h"

#include "os/diagnostics.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace kt5::platform::qt {

namespace {

// What a message of Qt's is about, told by the words it uses.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kSubjects{{
    {"Wayland", "the Wayland compositor"},
    {"XDG_RUNTIME_DIR", "the runtime directory"},
    {"xcb", "the X display"},
    {"display", "the display"},
    {"platform plugin", "Qt's platform plugin"},
}};

std::string_view subjectOf(const std::string& message)
{
    for (const auto& [words, subject] : kSubjects)
        if (message.find(words) != std::string::npos)
            return subject;
    return "the window system";
}

// Qt's accessibility bridge warns of each call of a screen reader's that it does not answer.
// Qt 6.11 leaves libatspi's GetApplicationBusAddress unanswered, and the reader goes on over the
// accessibility bus: nothing failed, and the user has nothing to do.
constexpr std::string_view kScreenReaderCalls = "qt.accessibility.atspi";

void sayAsTheProgram(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg ||
        (context.category != nullptr && context.category == kScreenReaderCalls))
        return;
    const std::string text = message.toStdString();
    os::printDiagnostic(std::string(subjectOf(text)) + ": " + text);
    if (type == QtFatalMsg)
        std::_Exit(1);
}

} // namespace

void sayQtMessagesAsTheProgram()
{
    qInstallMessageHandler(&sayAsTheProgram);
}

} // namespace kt5::platform::qt
