#pragma once
// The language of the program's windows, chosen as desktop programs choose it: from LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG. Spanish for a Spanish locale, English for every other.
#include <QString>

class QProcessEnvironment;

namespace runtime {

enum class UiLanguage { English, Spanish };

// As gettext reads the environment: the messages locale is the first of LC_ALL, LC_MESSAGES and
// LANG that is set; when it is C or POSIX (or none is set) the windows are English whatever
// LANGUAGE says; otherwise the first of LANGUAGE's colon-separated entries that names English or
// Spanish decides, and the messages locale when none does.
UiLanguage uiLanguageOf(const QProcessEnvironment &environment);
UiLanguage uiLanguage(); // of this process's environment

// Installs the program's own catalogue (`programFolder`/translations/tenvoria_<code>.qm) and Qt's
// (qtbase_<code>.qm, for the standard dialogs' buttons) for `language`. English needs none. A
// missing catalogue leaves that part in English and says so on standard error; nothing else fails.
// Needs the application object.
void installTranslations(UiLanguage language, const QString &programFolder);

} // namespace runtime
