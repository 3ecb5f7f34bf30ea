#pragma once

#include <QLocale>

class QTranslator;

namespace shell {

// Installs Qt's own translations for `locale` (the Yes and No of the exit question), when
// the system has them. Returns the installed translator, owned by the application.
QTranslator* installQtTranslations(const QLocale& locale);

} // namespace shell
