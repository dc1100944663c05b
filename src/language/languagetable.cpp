#include "languagetable.h"

#include "storage/exception.h"
#include "storage/linefile.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr const char16_t* kSlovak[TLanguageTable::Total] = {
#include "slovakstrings.inc"
};
} // namespace

QStringList TLanguageTable::SlovakStrings() {
    QStringList strings;
    strings.reserve(Total);
    for (const char16_t* text : kSlovak)
        strings.append(QString::fromUtf16(text));
    return strings;
}

TLanguageTable::TLanguageTable() : m_strings(SlovakStrings()) {}

QString TLanguageTable::FilePath(const QString& languageName) {
    // A file named exactly so, "&" and all; otherwise the name as a menu
    // that marks its keys with "&" stored it.
    const QString exact = u"languages/"_s + languageName + u".lng"_s;
    if (languageName.contains(u'&') && QFile::exists(exact))
        return exact;
    const QString name = QString(languageName).remove(u'&');
    const QString path = u"languages/"_s + name + u".lng"_s;
    if (!name.contains(u'?') || QFile::exists(path))
        return path;
    // The settings file's code page has no letter for some characters of a
    // file's name and stores "?" in their place: such a name finds the
    // first file whose name it stands for.
    for (const QString& file :
         QDir(u"languages"_s).entryList({u"*.lng"_s}, QDir::Files, QDir::Name)) {
        const QStringView stem = QStringView(file).chopped(4);
        if (stem.size() != name.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; same && i < stem.size(); ++i)
            same = name[i] == u'?' || name[i] == stem[i];
        if (same)
            return u"languages/"_s + file;
    }
    return path;
}

void TLanguageTable::Nahrajretazce(const QString& languageName) {
    if (languageName == Slovak) {
        m_strings = SlovakStrings();
        ++m_generation;
        return;
    }
    const QString path = FilePath(languageName);
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError)
        throw EFileError(u"Cannot read the file \"%1\": %2"_s.arg(path, file.errorString()),
                         EFault::CannotRead, path);
    load(bytes, path);
}

void TLanguageTable::load(const QByteArray& bytes, const QString& path) {
    // A text holds no NUL: such a file is no language file at all.
    if (bytes.contains('\0'))
        throw EFileError(u"The file \"%1\" is not a text file"_s.arg(path), EFault::Damaged, path);
    QStringList lines = LineFile::split(bytes);
    if (lines.size() > Total)
        lines.resize(Total);
    while (lines.size() < Count)
        lines.append(QString());
    for (qsizetype i = lines.size(); i < Total; ++i)
        lines.append(QString::fromUtf16(kSlovak[i]));
    m_strings = std::move(lines);
    ++m_generation;
}
