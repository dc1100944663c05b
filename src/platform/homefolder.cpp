#include "homefolder.h"

#include "storage/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::Literals::StringLiterals;

QString HomeFolder::resolve(const QString& option) {
    if (!option.isEmpty())
        return QDir(option).absolutePath();
    const QString fromEnvironment = qEnvironmentVariable("VELMORAND_HOME");
    if (!fromEnvironment.isEmpty())
        return QDir(fromEnvironment).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/velmorand"_s;
}

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw EFileError(u"The home folder \"%1\" cannot be used: %2"_s.arg(path, reason),
                     EFault::CannotWrite, path);
}

// Shipped files come from the installed data folder (share/velmorand beside
// the program's bin folder), where a package or an administrator may add
// languages, and else from the program's resources under :/shipped.
void copyShipped(const QString& home, const QString& folder) {
    const QString installed =
        QCoreApplication::applicationDirPath() + u"/../share/velmorand/"_s + folder;
    bool made = false;
    for (const QString& source : {installed, u":/shipped/"_s + folder}) {
        QDirIterator it(source, QDir::Files);
        while (it.hasNext()) {
            const QString file = it.next();
            if (!made && !QDir(home).mkpath(folder))
                fail(home, u"the folder %1 cannot be created"_s.arg(folder));
            made = true;
            const QString target = home + u'/' + folder + u'/' + it.fileName();
            if (QFileInfo::exists(target))
                continue;
            if (!QFile::copy(file, target))
                fail(home, u"%1 cannot be written"_s.arg(target));
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
        }
    }
}

} // namespace

void HomeFolder::prepare(const QString& path) {
    if (!QDir().mkpath(path))
        fail(path, u"it cannot be created"_s);
    if (!QFileInfo(path).isDir())
        fail(path, u"it is not a folder"_s);
    {
        QTemporaryFile probe(path + u"/.velmorand-write-test-XXXXXX"_s);
        if (!probe.open())
            fail(path, probe.errorString());
    }
    copyShipped(path, u"languages"_s);
    copyShipped(path, u"sounds"_s);
    if (!QDir::setCurrent(path))
        fail(path, u"it cannot be made the working folder"_s);
}
