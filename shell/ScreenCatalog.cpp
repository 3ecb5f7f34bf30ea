#include "ScreenCatalog.h"

#include <QDirIterator>
#include <QFileInfo>
#include <cstdio>

namespace shell {

ScreenCatalog::ScreenCatalog()
    : ScreenCatalog({QStringLiteral(":/shell/screens"), QStringLiteral(":/activities"), QStringLiteral(":/board")})
{
}

ScreenCatalog::ScreenCatalog(const QStringList& roots)
{
    for (const QString& root : roots) {
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

const screens::ScreenDescription* ScreenCatalog::readFile(const QString& key, bool report)
{
    if (auto it = m_parsed.find(key); it != m_parsed.end())
        return it->second.get();
    if (m_errors.contains(key))
        return nullptr;
    const QString path = m_files.value(key);
    // Faults name a built-in file as it lies in the source tree ("activities/suma/Suma1.json").
    const QString shown = path.startsWith(QLatin1String(":/")) ? path.mid(2) : path;
    QFile file(path);
    QString error;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot be read").arg(shown);
    } else {
        auto parsed = screens::ScreenDescription::parse(file.readAll(), shown);
        if (!parsed)
            error = parsed.error();
        else if (fileKey(parsed->name) != key)
            error = QStringLiteral("%1: name: describes \"%2\", which belongs in %3.json").arg(shown, parsed->name, fileKey(parsed->name));
        else
            return (m_parsed[key] = std::make_unique<screens::ScreenDescription>(std::move(parsed).value())).get();
    }
    if (report)
        std::fprintf(stderr, "numbali: %s\n", qPrintable(error));
    m_errors.insert(key, error);
    return nullptr;
}

const screens::ScreenDescription* ScreenCatalog::find(const QString& screenName)
{
    const QString key = fileKey(screenName);
    if (!m_files.contains(key)) {
        if (!m_errors.contains(key)) {
            m_errors.insert(key, QStringLiteral("no description for screen \"%1\"").arg(screenName));
            std::fprintf(stderr, "numbali: %s\n", qPrintable(m_errors.value(key)));
        }
        return nullptr;
    }
    const screens::ScreenDescription* d = readFile(key, true);
    return d && d->name == screenName ? d : nullptr;
}

QStringList ScreenCatalog::names()
{
    QStringList out;
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        const screens::ScreenDescription* d = readFile(it.key(), true);
        out << (d ? d->name : it.key());
    }
    out.sort();
    return out;
}

QString ScreenCatalog::errorOf(const QString& screenName)
{
    find(screenName);
    return m_errors.value(fileKey(screenName));
}

QStringList ScreenCatalog::unknownTargets(const screens::ScreenDescription& d, const QStringList& screens)
{
    QStringList faults;
    for (int i = 0; i < int(d.navigation.size()); ++i) {
        const QString& target = d.navigation[i].target;
        if (!target.isEmpty() && !screens.contains(target))
            faults << QStringLiteral("%1: navigation[%2].target: there is no screen \"%3\"").arg(d.file).arg(i).arg(target);
    }
    return faults;
}

QStringList ScreenCatalog::checkAll()
{
    QStringList faults;
    const QStringList screens = names();
    QStringList keys = m_files.keys();
    keys.sort();
    for (const QString& key : keys) {
        if (const screens::ScreenDescription* d = readFile(key, false))
            faults << unknownTargets(*d, screens);
        else
            faults << m_errors.value(key).split(QLatin1Char('\n'));
    }
    return faults;
}

} // namespace shell
