#include "autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The arguments of an Exec value, its escapes undone.
QStringList execArguments(const QString& value) {
    // The value's own escapes first.
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            text += next == u's'   ? QChar(u' ')
                    : next == u'n' ? QChar(u'\n')
                    : next == u't' ? QChar(u'\t')
                    : next == u'r' ? QChar(u'\r')
                                   : next;
        } else {
            text += value[i];
        }
    }
    QStringList arguments;
    QString current;
    bool inArgument = false, quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < text.size())
                current += text[++i];
            else
                current += c;
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                arguments.append(std::exchange(current, QString()));
            inArgument = false;
        } else {
            inArgument = true;
            if (c == u'"')
                quoted = true;
            else
                current += c;
        }
    }
    if (inArgument)
        arguments.append(current);
    for (QString& argument : arguments)
        argument.replace(u"%%"_s, u"%"_s);
    return arguments;
}

QString comparablePath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
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

QString TAutostart::entryHome() const {
    // Desktop entries are UTF-8.
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.startsWith(u"Exec="_s))
            continue;
        const QStringList arguments = execArguments(line.mid(5).trimmed());
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            if (arguments[i] == u"--home" && i + 1 < arguments.size())
                return arguments[i + 1];
            if (arguments[i].startsWith(u"--home="_s))
                return arguments[i].mid(7);
        }
    }
    return QString();
}

bool TAutostart::isSet() const {
    const QString home = entryHome();
    return !home.isEmpty() && comparablePath(home) == comparablePath(m_home);
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
                              "X-GNOME-Autostart-enabled=true\n"
                              "X-GNOME-UsesNotifications=true\n"
                              "X-KDE-autostart-after=panel\n"_s)
                                 .toUtf8();
    QSaveFile file(entryPath());
    if (file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size())
        file.commit();
}

void TAutostart::remove() const {
    if (isSet())
        QFile::remove(entryPath());
}
