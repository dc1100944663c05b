#include "testcore.h"

#include "storage/sqlite.h"
#include "storage/text1250.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

TempHome::TempHome() : m_previous(QDir::currentPath()) {
    if (!m_dir.isValid() || !QDir::setCurrent(m_dir.path()))
        qFatal("cannot make a temporary home folder");
}

TempHome::~TempHome() {
    QDir::setCurrent(m_previous);
}

QList<QStringList> DbRows(const QString& file, const QString& sql) {
    QList<QStringList> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        qWarning("DbRows: cannot open %s", qPrintable(file));
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, Cp1250::encode(sql).constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
                    row.append(QString());
                    continue;
                }
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row.append(Cp1250::decode(QByteArrayView(text, sqlite3_column_bytes(stmt, c))));
            }
            rows.append(row);
        }
    } else {
        qWarning("DbRows: %s", sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

TestEnvironment::TestEnvironment() {
    if (!m_root.isValid())
        qFatal("cannot make a temporary folder");
    const QString root = m_root.path();
    const auto set = [&](const char* name, const QString& relative) {
        const QString path = root + relative;
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    };
    set("HOME", u"/home"_s);
    set("XDG_DATA_HOME", u"/home/.local/share"_s);
    set("XDG_CONFIG_HOME", u"/home/.config"_s);
    set("XDG_CACHE_HOME", u"/home/.cache"_s);
    set("XDG_RUNTIME_DIR", u"/runtime"_s);
    QFile::setPermissions(root + u"/runtime"_s,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qunsetenv("VELMORAND_HOME");
    // The update check at start asks this machine only, and is refused at once.
    if (qEnvironmentVariableIsEmpty("VELMORAND_UPDATE_URL"))
        qputenv("VELMORAND_UPDATE_URL", "https://127.0.0.1:1/velmorand/version.dbf");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    QDir::setCurrent(root + u"/home"_s);
    // Tests that hold a file with a second connection need not wait as long
    // as a user does for another program.
    TSQLiteDatabase::SetBusyTimeout(kTestBusyTimeout);
}
