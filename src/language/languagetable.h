#pragma once

#include "strings.h"

#include <QString>
#include <QStringList>

// The table of 209 texts that every window takes its captions and messages
// from: the built-in Slovak strings, or the lines of a language file.
class TLanguageTable {
public:
    static constexpr int Count = 209;
    static inline const QString Slovak = QStringLiteral("Slovak");

    TLanguageTable(); // the built-in Slovak strings

    QString operator[](Str text) const { return m_strings.value(int(text)); }
    // Text number index; empty for an index outside 0 to 208.
    QString at(int index) const { return m_strings.value(index); }
    const QStringList& strings() const { return m_strings; }
    // Counts the loads, so that a window can tell that its texts changed.
    int generation() const { return m_generation; }

    // Fills the table for a language name: the built-in strings for "Slovak",
    // otherwise the lines of languages/<name without "&">.lng, one string per
    // line; missing lines give empty strings, lines after the 209th are
    // ignored. A file that cannot be read throws EFileError and leaves the
    // table as it was.
    void Nahrajretazce(const QString& languageName);

    // "languages/" + the name with every "&" removed + ".lng".
    static QString FilePath(const QString& languageName);
    static QStringList SlovakStrings();

private:
    QStringList m_strings;
    int m_generation = 0;
};
