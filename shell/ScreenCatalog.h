#pragma once

#include "ScreenDescription.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

namespace shell {

// Every screen description compiled into the program, found by screen name. A description
// is read and checked, rule tables and all, the first time its screen is asked for, then
// kept; a broken one is reported on standard error once and never opened.
class ScreenCatalog {
public:
    // The descriptions under the program's own folders, or under `roots` (folders or resource
    // folders searched with their subfolders).
    ScreenCatalog();
    explicit ScreenCatalog(const QStringList& roots);

    // Null when the screen is unknown or its description is broken.
    const screens::ScreenDescription* find(const QString& screenName);
    // Every screen name that has a description file.
    QStringList names();
    // The reason a description could not be used, or empty.
    QString errorOf(const QString& screenName);
    // Reads every description and returns every fault of every file, one per line, with
    // the navigation buttons that lead to screens the catalog lacks.
    QStringList checkAll();

    // File names are the screen names written without accents: "Menú" is Menu.json.
    static QString fileKey(const QString& screenName);
    // Faults of navigation buttons whose target is not among `screens`.
    static QStringList unknownTargets(const screens::ScreenDescription& description, const QStringList& screens);

private:
    const screens::ScreenDescription* readFile(const QString& key, bool report);

    QHash<QString, QString> m_files; // file key -> resource path
    std::map<QString, std::unique_ptr<screens::ScreenDescription>> m_parsed; // by file key
    QHash<QString, QString> m_errors;                                        // by file key
};

} // namespace shell
