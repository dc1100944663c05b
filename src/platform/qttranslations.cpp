#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace {

// Names a language file may carry, in English and in the language itself
// (in Windows-1250, which the settings file stores them in).
struct KnownLanguage {
    const char16_t* locale;
    std::initializer_list<const char16_t*> names;
};

const KnownLanguage kKnown[] = {
    {u"sk", {u"slovak", u"slovensky", u"slovenčina", u"slovencina"}},
    {u"en", {u"english", u"anglicky", u"angličtina"}},
    {u"cs", {u"czech", u"česky", u"cesky", u"čeština", u"cestina"}},
    {u"de", {u"german", u"deutsch"}},
    {u"pl", {u"polish", u"polski", u"polsky"}},
    {u"hu", {u"hungarian", u"magyar"}},
    {u"fr", {u"french", u"français", u"francais"}},
    {u"es", {u"spanish", u"español", u"espanol"}},
    {u"it", {u"italian", u"italiano"}},
    {u"pt", {u"portuguese", u"português", u"portugues"}},
    {u"hr", {u"croatian", u"hrvatski"}},
    {u"sl", {u"slovenian", u"slovenščina", u"slovenscina"}},
};

// Texts of Qt's own that Debian's Slovak translation lacks or gets wrong:
// the standard buttons of message boxes and dialogs, and the shortcut
// editor's hint.
class TSlovakQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* = nullptr,
                      int = -1) const override {
        static const std::pair<const char*, const char16_t*> kButtons[] = {
            {"OK", u"OK"},
            {"&OK", u"&OK"},
            {"Save", u"Uložiť"},
            {"&Save", u"&Uložiť"},
            {"Save All", u"Uložiť všetko"},
            {"Open", u"Otvoriť"},
            // Debian's "Á&no" takes N, as "&Nie" does: N would answer Yes.
            {"&Yes", u"&Áno"},
            {"Yes to &All", u"Áno &všetkým"},
            {"&No", u"&Nie"},
            {"N&o to All", u"N&ie všetkým"},
            {"Abort", u"Prerušiť"},
            {"Retry", u"Skúsiť znova"},
            {"Ignore", u"Ignorovať"},
            {"Close", u"Zavrieť"},
            {"Cancel", u"Zrušiť"},
            {"&Cancel", u"&Zrušiť"},
            {"Discard", u"Zahodiť"},
            {"Help", u"Pomocník"},
            {"Apply", u"Použiť"},
            {"Reset", u"Obnoviť"},
            {"Restore Defaults", u"Obnoviť predvolené"},
        };
        const QByteArrayView where(context);
        const QByteArrayView text(source);
        if (where == "QPlatformTheme") {
            for (const auto& [english, slovak] : kButtons)
                if (text == english)
                    return QString::fromUtf16(slovak);
        } else if (where == "QKeySequenceEdit" && text == "Press shortcut") {
            return u"Stlačte klávesovú skratku"_s;
        }
        return QString();
    }
};

} // namespace

QString QtLocaleOf(const QString& languageName) {
    const QString name = QString(languageName).remove(u'&').trimmed().toLower();
    for (const KnownLanguage& language : kKnown)
        for (const char16_t* known : language.names)
            if (name == QStringView(known))
                return QString::fromUtf16(language.locale);
    return QString();
}

bool UseQtTranslations(const QString& languageName) {
    static QPointer<QTranslator> installed[2];
    for (QPointer<QTranslator>& translator : installed)
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    const QString locale = QtLocaleOf(languageName);
    if (locale.isEmpty())
        return false;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(u"qtbase_"_s + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        translator = nullptr;
    } else {
        QCoreApplication::installTranslator(translator);
        installed[0] = translator;
    }
    // Installed last, so asked first; it knows only what the file lacks.
    if (locale == u"sk") {
        installed[1] = new TSlovakQtTexts(QCoreApplication::instance());
        QCoreApplication::installTranslator(installed[1]);
    }
    return translator != nullptr;
}

void UseInterfaceLocale(const QString& languageName) {
    const QString locale = QtLocaleOf(languageName);
    QLocale::setDefault(locale.isEmpty() ? QLocale::system() : QLocale(locale));
}
