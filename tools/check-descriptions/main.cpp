// Developer tool: checks screen descriptions and prints every fault of every file.
//   numbali-check-descriptions            every description built into the program
//   numbali-check-descriptions FILE...    these files, as they lie on disk
// Pictures named by a file on disk are looked for in the program and in the source tree the
// file belongs to. Exits 1 when any fault was found.
#include "ScreenCatalog.h"
#include "ScreenDescription.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// The folder holding `assets/` above a description file: the root its picture names start from.
QString sourceRoot(const QString& file)
{
    QDir dir = QFileInfo(file).absoluteDir();
    do {
        if (dir.exists(QStringLiteral("assets/pictures")))
            return dir.absolutePath();
    } while (dir.cdUp());
    return QFileInfo(file).absolutePath();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::ScreenCatalog catalog;
    QStringList faults;
    int files = 0;
    if (argc < 2) {
        faults = catalog.checkAll();
        files = int(catalog.names().size());
    } else {
        QStringList screens = catalog.names();
        std::vector<screens::ScreenDescription> read;
        for (int i = 1; i < argc; ++i) {
            ++files;
            const QString file = QString::fromLocal8Bit(argv[i]);
            const QString root = sourceRoot(file);
            auto d = screens::ScreenDescription::read(file, [&root](const QString& name) {
                return QFileInfo::exists(screens::picturePath(name)) || QFileInfo::exists(QDir(root).filePath(name));
            });
            if (!d) {
                faults << d.error().split(QLatin1Char('\n'));
                continue;
            }
            if (shell::ScreenCatalog::fileKey(d->name) != QFileInfo(file).completeBaseName())
                faults << QStringLiteral("%1: name: describes \"%2\", which belongs in %3.json")
                              .arg(file, d->name, shell::ScreenCatalog::fileKey(d->name));
            screens << d->name;
            read.push_back(std::move(d).value());
        }
        for (const auto& d : read)
            faults << shell::ScreenCatalog::unknownTargets(d, screens);
    }
    for (const QString& f : faults)
        std::printf("%s\n", qPrintable(f));
    std::printf("%d description%s checked, %d fault%s\n", files, files == 1 ? "" : "s", int(faults.size()),
                faults.size() == 1 ? "" : "s");
    return faults.isEmpty() ? 0 : 1;
}
