#include "Shell.h"
#include "Translations.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numbali"));
    shell::installQtTranslations(QLocale::system());

    shell::Shell shell(QCoreApplication::applicationDirPath());
    shell.start();
    return app.exec();
}
