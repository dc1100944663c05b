#include "programmenu.h"

#include "context/programcontext.h"
#include "platform/desktoplinks.h"
#include "platform/dialogs.h"
#include "storage/exception.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace {

// Opens the link; when no program takes it, the box says so with `text`
// naming what was to be opened.
void open(TProgramContext& context, const QUrl& url, Str text, const QString& what) {
    context.links.open(url, [&context, text, what](bool opened) {
        if (opened)
            return;
        const TLanguageTable& s = context.strings;
        context.dialogs.messageBox(nullptr, s[Str::Warning], s[text].arg(what),
                                   IDialogs::Icon::Information);
    });
}

} // namespace

void aboutClick(TProgramContext& context, QWidget* owner) {
    const TLanguageTable& s = context.strings;
    QStringList lines{s[Str::AboutVersion], s[Str::AboutAuthor], s[Str::AboutDate]};
    if (context.settings.language != TLanguageTable::Slovak)
        lines.append(s[Str::AboutTranslator]);
    context.dialogs.messageBox(owner, s[Str::About], lines.join(u"\r\n"_s),
                               IDialogs::Icon::Information);
}

void pomocClick(TProgramContext& context) {
    // The help text shipped with the program, in Slovak or else in English,
    // is put into the home folder for the desktop's text viewer.
    const QString name = context.settings.language == TLanguageTable::Slovak
                             ? u"velmorand-sk.txt"_s
                             : u"velmorand-en.txt"_s;
    QFile shipped(u":/help/"_s + name);
    if (!shipped.open(QIODevice::ReadOnly))
        throw EFileError(u"The help text %1 is missing from the program"_s.arg(name),
                         EFault::CannotRead, shipped.fileName());
    const QByteArray text = shipped.readAll();
    const QString path = QDir::current().absoluteFilePath(u"help/"_s + name);
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly) || current.readAll() != text) {
        current.close();
        QDir().mkpath(u"help"_s);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
            throw EFileError(u"Cannot write the help text \"%1\""_s.arg(path), EFault::CannotWrite,
                             path);
    }
    open(context, QUrl::fromLocalFile(path), Str::NoViewer, QDir::toNativeSeparators(path));
}

void mailautClick(TProgramContext& context) {
    const QString address = QStringLiteral(VELMORAND_CONTACT_MAIL);
    // A new mail with its subject and an empty body.
    QUrl url(u"mailto:"_s + address);
    url.setQuery(u"subject="_s +
                 QString::fromLatin1(QUrl::toPercentEncoding(
                     u"Pripomienka k Velmorand "_s + QLatin1StringView(kVelmorandVersion))) +
                 u"&body="_s);
    open(context, url, Str::NoMailProgram, address);
}

void wwwautClick(TProgramContext& context) {
    const QString page = QStringLiteral(VELMORAND_WEB_PAGE);
    open(context, QUrl(page), Str::NoBrowser, page);
}
