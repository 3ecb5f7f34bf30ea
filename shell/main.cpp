#include "Shell.h"
#include "Translations.h"
#include "sound/Mixer.h"

#include <QApplication>

int main(int argc, char** argv)
{
    shell::Shell::shareOneHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numbali"));
    // Lets the desktop match the window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.numbali.numbali"));
    shell::installQtTranslations(QLocale::system());
    // Opening the audio device can take a while; do it before the first sound is due. The
    // mixer outlives the shell and its players, and goes before the application object.
    movie::sound::Mixer mixer(movie::sound::Mixer::Output::Device);

    shell::Shell shell(QCoreApplication::applicationDirPath(), &mixer);
    shell.start();
    return app.exec();
}
