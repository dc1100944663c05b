#pragma once

#include <QStringList>

class QWidget;
class TProgramContext;

// The languages the Jazyky menu offers after its two fixed items: the names
// of the files languages/*.lng in the home folder, in name order.
QStringList LanguageFiles();

// Chooses a language from the menu: loads its table (Slovak: the built-in
// one) and Qt's own texts for it, gives the four default groups the new
// language's captions (in the files, in memory and in the view files),
// applies the texts to every window, looks the pending reminder up again
// for the tray tip, and says it is done. A file that cannot be loaded
// throws before anything changes: the language loaded before stays, in the
// windows and in the files.
void jazykyClick(TProgramContext& context, const QString& languageName);

// Writes the current table into a file the user chooses, one text a line:
// a template for translators, which loads back to the same table.
void generovatClick(TProgramContext& context, QWidget* owner);
