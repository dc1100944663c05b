#pragma once

#include <QString>

// Qt's own texts (the Yes and No buttons, the file dialogs, the shortcut
// editor) follow the interface language, from the translations Debian
// ships in qt6-translations-l10n; the few texts its Slovak file lacks are
// built in.

// The locale of Qt's translations for a language name: "sk" for Slovak,
// "en" for English, the language a known name stands for (in English or in
// the language itself), and empty where none can be told.
QString QtLocaleOf(const QString& languageName);

// Installs Qt's translations for the language, replacing those installed
// before; without translations for it, Qt's texts stay its own English.
// Returns whether a translation was installed.
bool UseQtTranslations(const QString& languageName);

// Day and month names and the dates shown follow the interface language,
// not the system's locale: Slovak for the built-in language, the locale a
// known name stands for, the system's for any other language file.
void UseInterfaceLocale(const QString& languageName);
