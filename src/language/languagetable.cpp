#include "languagetable.h"

#include "storage/linefile.h"

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
    return u"languages/"_s + QString(languageName).remove(u'&') + u".lng"_s;
}

void TLanguageTable::Nahrajretazce(const QString& languageName) {
    if (languageName == Slovak) {
        m_strings = SlovakStrings();
        ++m_generation;
        return;
    }
    QStringList lines = LineFile::read(FilePath(languageName));
    if (lines.size() > Total)
        lines.resize(Total);
    while (lines.size() < Count)
        lines.append(QString());
    for (qsizetype i = lines.size(); i < Total; ++i)
        lines.append(QString::fromUtf16(kSlovak[i]));
    m_strings = std::move(lines);
    ++m_generation;
}
