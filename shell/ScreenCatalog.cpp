#include "ScreenCatalog.h"

#include <QDirIterator>
#include <QFileInfo>
#include <cstdio>

namespace shell {

ScreenCatalog::ScreenCatalog()
{
    for (const QString& root : {QStringLiteral(":/shell/screens"), QStringLiteral(":/activities"), QStringLiteral(":/board")}) {
        QDirIterator it(root, {QStringLiteral("*.json")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            m_files.insert(QFileInfo(path).completeBaseName(), path);
        }
    }
}

QString ScreenCatalog::fileKey(const QString& screenName)
{
    QString key;
    for (const QChar ch : screenName.normalized(QString::NormalizationForm_D))
        if (ch.unicode() < 128)
            key += ch;
    return key;
}

const screens::ScreenDescription* ScreenCatalog::find(const QString& screenName)
{
    if (auto it = m_parsed.find(screenName); it != m_parsed.end())
        return it->second.get();
    if (m_errors.contains(screenName))
        return nullptr;
    const QString file = m_files.value(fileKey(screenName));
    QString error;
    if (file.isEmpty()) {
        error = QStringLiteral("no description for screen \"%1\"").arg(screenName);
    } else {
        auto parsed = screens::ScreenDescription::load(file);
        if (!parsed)
            error = parsed.error();
        else if (parsed->name != screenName)
            error = QStringLiteral("%1: describes \"%2\", expected \"%3\"").arg(file, parsed->name, screenName);
        else
            return (m_parsed[screenName] = std::make_unique<screens::ScreenDescription>(std::move(parsed).value())).get();
    }
    std::fprintf(stderr, "numbali: %s\n", qPrintable(error));
    m_errors.insert(screenName, error);
    return nullptr;
}

QStringList ScreenCatalog::names() const
{
    QStringList out;
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        auto parsed = screens::ScreenDescription::load(it.value());
        out << (parsed ? parsed->name : it.key());
    }
    out.sort();
    return out;
}

QString ScreenCatalog::errorOf(const QString& screenName)
{
    find(screenName);
    return m_errors.value(screenName);
}

} // namespace shell
