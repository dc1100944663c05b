#pragma once

#include "strings.h"

#include <QString>
#include <QStringList>

// The table of texts that every window takes its captions and messages
// from: the built-in Slovak strings, or the lines of a language file. The
// first 209 are the original's; the program's own follow.
class TLanguageTable {
public:
    // The original's texts, which its language files hold.
    static constexpr int Count = 209;
    // All texts, the program's own included.
    static constexpr int Total = kStrCount;
    static inline const QString Slovak = QStringLiteral("Slovak");

    TLanguageTable(); // the built-in Slovak strings

    QString operator[](Str text) const { return m_strings.value(int(text)); }
    // Text number index; empty for an index outside the table.
    QString at(int index) const { return m_strings.value(index); }
    const QStringList& strings() const { return m_strings; }
    // Counts the loads, so that a window can tell that its texts changed.
    int generation() const { return m_generation; }

    // Fills the table for a language name: the built-in strings for "Slovak",
    // otherwise the lines of the file FilePath names, one string per
    // line. A missing line of the original's 209 gives an empty string, one
    // of the program's own the built-in Slovak text; lines after the last
    // text are ignored. A file that cannot be read throws EFileError and
    // leaves the table as it was; so does a file holding a NUL byte, which
    // is no text.
    void Nahrajretazce(const QString& languageName);
    // The same for the bytes of a language file read from `path`.
    void load(const QByteArray& bytes, const QString& path);

    // "languages/" + the name + ".lng" where a file is named exactly so,
    // else the same with every "&" removed from the name.
    static QString FilePath(const QString& languageName);
    static QStringList SlovakStrings();

private:
    QStringList m_strings;
    int m_generation = 0;
};
