#include "MoviePaths.h"

#include <QDir>

namespace shell {

QString moviePath(const QString& applicationFolder, const QString& storedName)
{
    QString name = storedName;
    name.replace(QLatin1Char('\\'), QDir::separator());
    return applicationFolder + name;
}

} // namespace shell
