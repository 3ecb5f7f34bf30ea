#pragma once

#include "ScreenDescription.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

namespace shell {

// Every screen description compiled into the program, found by screen name. A description
// is parsed and checked the first time its screen is asked for, then kept.
class ScreenCatalog {
public:
    ScreenCatalog();

    // Null when the screen is unknown or its description is broken (the reason goes to
    // standard error once).
    const screens::ScreenDescription* find(const QString& screenName);
    // Every screen name that has a description file.
    QStringList names() const;
    // The reason a description could not be used, or empty.
    QString errorOf(const QString& screenName);

    // File names are the screen names written without accents: "Menú" is Menu.json.
    static QString fileKey(const QString& screenName);

private:
    QHash<QString, QString> m_files; // file key -> resource path
    std::map<QString, std::unique_ptr<screens::ScreenDescription>> m_parsed;
    QHash<QString, QString> m_errors;
};

} // namespace shell
