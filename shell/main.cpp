#include "Shell.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numbali"));
    // The Yes and No of the exit question in the desktop's language.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslations);

    shell::Shell shell(QCoreApplication::applicationDirPath());
    shell.start();
    return app.exec();
}
