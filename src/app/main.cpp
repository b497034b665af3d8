// Placeholder entry point: eleven plain buttons wired to the tone commands, until the real
// window is built from its description.
#include "platform/alsa/alsa_sound_service.h"
#include "platform/qt/qt_platform_services.h"
#include "tones/tone_commands.h"

#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kt5::platform::qt::QtPlatformServices platform;
    kt5::platform::alsa::AlsaSoundService sound;
    kt5::tones::ToneCommands commands(platform, sound);

    QWidget window;
    auto* grid = new QGridLayout(&window);
    for (kt5::tones::CommandIndex i = kt5::tones::kFirstCommand; i <= kt5::tones::kLastCommand;
         ++i) {
        auto* button = new QPushButton(QString::asprintf("*%02d#", i), &window);
        QObject::connect(button, &QPushButton::clicked, &window,
                         [&commands, i] { commands.Command1_Click(i); });
        grid->addWidget(button, i / 4, i % 4);
    }
    window.show();
    return app.exec();
}
