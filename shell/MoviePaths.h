#pragma once

#include <QString>

namespace shell {

// The full path of a movie file: the application folder followed by the stored name. The
// stored names begin with a backslash; on this platform that becomes the path separator,
// and the name keeps its case exactly.
QString moviePath(const QString& applicationFolder, const QString& storedName);

} // namespace shell
