#include "autostart.h"

#include "storage/exception.h"
#include "storage/linefile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

// An argument of an Exec key: quoted when it holds reserved characters,
// with ", `, $ and \ escaped inside the quotes.
QString execArgument(const QString& argument) {
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#()`="_s;
    bool quote = argument.isEmpty();
    for (QChar c : argument)
        quote = quote || reserved.contains(c);
    QString text = argument;
    text.replace(u'%', u"%%"_s);
    if (!quote)
        return text;
    QString quoted = u"\""_s;
    for (QChar c : text) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// A string value of a desktop entry escapes the backslash itself.
QString entryValue(const QString& text) {
    QString value = text;
    return value.replace(u'\\', u"\\\\"_s);
}

} // namespace

TAutostart::TAutostart(QString program, QString homeFolder)
    : m_program(std::move(program)), m_home(std::move(homeFolder)) {}

QString TAutostart::entryPath() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/autostart/velmorand.desktop"_s;
}

QString TAutostart::execLine() const {
    return entryValue(execArgument(m_program) + u" --home "_s + execArgument(m_home));
}

bool TAutostart::isSet() const {
    try {
        const QStringList lines = LineFile::read(entryPath());
        for (const QString& line : lines)
            if (line.startsWith(u"Exec="_s) && !line.mid(5).trimmed().isEmpty())
                return true;
    } catch (const EFileError&) {
    }
    return false;
}

void TAutostart::add() const {
    QDir().mkpath(QFileInfo(entryPath()).path());
    const QByteArray entry = (u"[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Velmorand\n"
                              "Comment=Personal organiser\n"
                              "Icon=velmorand\n"
                              "Exec="_s +
                              execLine() +
                              u"\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n"_s)
                                 .toUtf8();
    QSaveFile file(entryPath());
    if (file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size())
        file.commit();
}

void TAutostart::remove() const {
    QFile::remove(entryPath());
}
