#include "sqlite.h"

#include "text1250.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

using namespace Qt::Literals::StringLiterals;

struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

int kindFromDeclaredType(const char* declared, int firstRowType) {
    if (!declared)
        return firstRowType;
    if (!std::strcmp(declared, "INTEGER") || !std::strcmp(declared, "BOOLEAN"))
        return TSQLiteTable::Integer;
    if (!std::strcmp(declared, "NUMERIC") || !std::strcmp(declared, "FLOAT") ||
        !std::strcmp(declared, "DOUBLE") || !std::strcmp(declared, "REAL"))
        return TSQLiteTable::Float;
    if (!std::strcmp(declared, "BLOB"))
        return TSQLiteTable::Blob;
    return TSQLiteTable::Text;
}

// General format with at most 15 significant digits and the user's decimal
// separator; exponents as 1E20 and 1E-5.
QString floatText(double value) {
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = text.left(e) + (negative ? u"E-"_s : u"E"_s) + exponent;
    }
    const QString point = QLocale().decimalPoint();
    if (point != u".")
        text.replace(u'.', point);
    return text;
}

qint64 truncateToInt64(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (value >= limit)
        return std::numeric_limits<qint64>::max();
    if (value < -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

} // namespace

// ---- TSQLiteTable ------------------------------------------------------------

bool TSQLiteTable::Advance() {
    if (AtEnd())
        return false;
    ++m_cursor;
    return true;
}

int TSQLiteTable::ColumnIndex(const QString& name) const {
    if (m_names.isEmpty())
        throw ESQLiteException(u"Field "_s + name + u" Not found. Empty dataset"_s);
    const QString upper = name.toUpper();
    const qsizetype index = m_names.indexOf(upper);
    if (index < 0)
        throw ESQLiteException(u"Field not found in dataset: "_s + name);
    return int(index);
}

const TSQLiteTable::Cell& TSQLiteTable::cell(int column) const {
    if (AtEnd())
        throw ESQLiteException(u"Table is at End of File"_s);
    if (column < 0 || column >= m_columns)
        throw ESQLiteException(u"Field index out of range: "_s + QString::number(column));
    return m_cells[std::size_t(m_cursor) * std::size_t(m_columns) + std::size_t(column)];
}

QString TSQLiteTable::CellText(int column) const {
    const Cell& c = cell(column);
    switch (m_kinds[column]) {
    case Integer:
        return QString::number(CellInt64(column));
    case Float:
        return floatText(CellFloat(column));
    case Text:
        if (const auto* bytes = std::get_if<QByteArray>(&c))
            return Cp1250::decode(*bytes);
        return QString();
    case Blob:
        return CellStreamText(column);
    default:
        return QString();
    }
}

QString TSQLiteTable::CellTextOrEmpty(int column) const {
    if (std::holds_alternative<std::monostate>(cell(column)))
        return QString();
    return CellText(column);
}

qint64 TSQLiteTable::CellInt64(int column) const {
    const Cell& c = cell(column);
    if (std::holds_alternative<std::monostate>(c))
        return 0;
    switch (m_kinds[column]) {
    case Integer:
        return std::get<qint64>(c);
    case Float:
        return truncateToInt64(std::get<double>(c));
    default:
        throw ESQLiteException(u"Not an integer or numeric field"_s);
    }
}

double TSQLiteTable::CellFloat(int column) const {
    const Cell& c = cell(column);
    if (std::holds_alternative<std::monostate>(c))
        return 0.0;
    switch (m_kinds[column]) {
    case Integer:
        return double(std::get<qint64>(c));
    case Float:
        return std::get<double>(c);
    default:
        throw ESQLiteException(u"Not an integer or numeric field"_s);
    }
}

const QByteArray* TSQLiteTable::CellStream(int column) const {
    const Cell& c = cell(column);
    if (std::holds_alternative<std::monostate>(c))
        return nullptr;
    if (m_kinds[column] != Blob)
        throw ESQLiteException(u"Not a Blob field"_s);
    return &std::get<QByteArray>(c);
}

QString TSQLiteTable::CellStreamText(int column) const {
    const QByteArray* stream = CellStream(column);
    return stream ? Cp1250::decode(*stream) : QString();
}

// ---- TSQLiteRow ----------------------------------------------------------------

int TSQLiteRow::ColumnCount() const {
    return sqlite3_column_count(m_statement);
}

int TSQLiteRow::ColumnIndex(const QString& name) const {
    const QByteArray wanted = Cp1250::encode(name);
    for (int c = 0; c < ColumnCount(); ++c)
        if (sqlite3_stricmp(sqlite3_column_name(m_statement, c), wanted.constData()) == 0)
            return c;
    throw ESQLiteException(u"Field not found in dataset: "_s + name);
}

qint64 TSQLiteRow::CellInt64(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

QByteArrayView TSQLiteRow::CellBytes(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (!text)
        return QByteArrayView();
    // Up to the first NUL, as the text is a C string to the rest of the
    // program; SQLite always ends it with one.
    return QByteArrayView(text, qsizetype(std::strlen(text)));
}

QString TSQLiteRow::CellTextOrEmpty(int column) const {
    const QByteArrayView bytes = CellBytes(column);
    return bytes.isNull() ? QString() : Cp1250::decode(bytes);
}

void TSQLiteRow::AppendCellText(int column, QString& text) const {
    Cp1250::appendDecoded(CellBytes(column), text);
}

// ---- TSQLiteDatabase ---------------------------------------------------------

void TSQLiteDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

namespace {

// What an SQLite result code means to a user.
EFault faultOf(int code, const char* text) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EFault::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return EFault::ReadOnly;
    case SQLITE_FULL:
        return EFault::Full;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return EFault::Damaged;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        return EFault::CannotRead;
    case SQLITE_ERROR:
        // A table or a column the statement needs is not in the file.
        if (text && (std::strncmp(text, "no such table", 13) == 0 ||
                     std::strncmp(text, "no such column", 14) == 0))
            return EFault::MissingPart;
        return EFault::Unexpected;
    default:
        return EFault::Unexpected;
    }
}

} // namespace

namespace {

// Before SQLite's first use: every connection is used by one thread only,
// so SQLite need not lock around each call, and it keeps no statistics of
// its memory, which cost a global lock for every allocation.
void configureOnce() {
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}

// Locks are the process's, not a connection's: which files a long
// transaction of this process holds, and how long others' locks are waited for.
struct TLocks {
    QStringList held;
    int busyTimeout = 2000;
};

TLocks& locks() {
    static TLocks process;
    return process;
}

QString heldName(const QString& fileName) {
    return QFileInfo(fileName).absoluteFilePath();
}

bool heldHere(const QString& fileName) {
    return !locks().held.isEmpty() && locks().held.contains(heldName(fileName));
}

} // namespace

void TSQLiteDatabase::SetBusyTimeout(int milliseconds) {
    locks().busyTimeout = milliseconds;
}

TSQLiteDatabase::TSQLiteDatabase(const QString& fileName) : m_fileName(fileName) {
    configureOnce();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(fileName.toUtf8().constData(), &db);
    m_db.reset(db);
    if (rc != SQLITE_OK) {
        if (!db)
            throw ESQLiteException(
                u"Failed to open database \"%1\" : unknown error"_s.arg(fileName),
                EFault::CannotRead, fileName);
        throw ESQLiteException(u"Failed to open database \"%1\" : %2"_s.arg(
                                   fileName, Cp1250::decode(sqlite3_errmsg(db))),
                               faultOf(rc, sqlite3_errmsg(db)), fileName);
    }
    sqlite3_busy_timeout(db, heldHere(fileName) ? 0 : locks().busyTimeout);
    Execute(u"PRAGMA SYNCHRONOUS=NORMAL;"_s);
    Execute(u"PRAGMA temp_store = MEMORY;"_s);
}

EFault TSQLiteDatabase::busyFault() const {
    return heldHere(m_fileName) ? EFault::BusyHere : EFault::Busy;
}

TSQLiteDatabase::~TSQLiteDatabase() = default;

void TSQLiteDatabase::RaiseSqlError(const QString& message, const QString& sql) {
    const int code = sqlite3_errcode(m_db.get());
    if (code != SQLITE_OK) {
        EFault fault = faultOf(code, sqlite3_errmsg(m_db.get()));
        if (fault == EFault::Busy)
            fault = busyFault();
        throw ESQLiteException(
            message + u" \"%1\" : %2"_s.arg(sql, Cp1250::decode(sqlite3_errmsg(m_db.get()))), fault,
            m_fileName);
    }
    throw ESQLiteException(message, EFault::Unexpected, m_fileName);
}

namespace {

// Compiles the first statement of the text; the rest of the text is ignored.
// Compiles the statement of the text and binds the values to it. Text after
// the statement (but blanks and semicolons) is refused: one forgotten quote
// must never run a second statement.
Statement prepare(TSQLiteDatabase& db, const QString& sql,
                  const TSQLiteDatabase::Values& values = {}) {
    const QByteArray bytes = Cp1250::encode(sql);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db.handle(), bytes.constData(), int(bytes.size()), &raw, &tail) !=
        SQLITE_OK) {
        sqlite3_finalize(raw);
        db.RaiseSqlError(u"Error executing SQL"_s, sql);
    }
    if (!raw)
        db.RaiseSqlError(u"Could not prepare SQL statement"_s, sql);
    Statement statement(raw);
    for (const char* end = bytes.constData() + bytes.size(); tail && tail < end; ++tail)
        if (*tail != ';' && *tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n')
            throw ESQLiteException(u"More than one statement in \"%1\""_s.arg(sql),
                                   EFault::Unexpected, db.fileName());
    for (int i = 0; i < values.size(); ++i) {
        int rc;
        if (const auto* number = std::get_if<qint64>(&values[i])) {
            rc = sqlite3_bind_int64(raw, i + 1, *number);
        } else {
            QString text = std::get<QString>(values[i]);
            const QByteArray stored = Cp1250::encode(text.remove(QChar(0)));
            rc = sqlite3_bind_text64(raw, i + 1, stored.constData(), sqlite3_uint64(stored.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        if (rc != SQLITE_OK)
            db.RaiseSqlError(u"Could not bind a value"_s, sql);
    }
    return statement;
}

} // namespace

void TSQLiteDatabase::Attach(const QString& fileName, const QString& schema) {
    TSQLitePrepared attach(*this, u"ATTACH DATABASE ?1 AS "_s + schema + u';');
    // SQLite reads a file's name as UTF-8, not as the files' code page.
    attach.BindText(1, fileName.toUtf8());
    attach.Run();
    m_attached.append(fileName);
}

void TSQLiteDatabase::Execute(const QString& sql, const Values& values) {
    Statement stmt = prepare(*this, sql, values);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE)
        RaiseSqlError(u"Error executing SQL statement"_s, sql);
}

TSQLiteTable TSQLiteDatabase::Query(const QString& sql, const Values& values) {
    Statement stmt = prepare(*this, sql, values);
    sqlite3_stmt* s = stmt.get();
    TSQLiteTable table;
    for (int rc = sqlite3_step(s); rc != SQLITE_DONE; rc = sqlite3_step(s)) {
        if (rc == SQLITE_BUSY)
            throw ESQLiteException(u"Could not prepare SQL statement"_s, busyFault(), m_fileName);
        if (rc != SQLITE_ROW)
            RaiseSqlError(u"Could not retrieve data"_s, sql);
        if (table.m_rows == 0) {
            table.m_columns = sqlite3_column_count(s);
            for (int c = 0; c < table.m_columns; ++c) {
                table.m_names.append(Cp1250::decode(sqlite3_column_name(s, c)).toUpper());
                table.m_kinds.push_back(
                    kindFromDeclaredType(sqlite3_column_decltype(s, c), sqlite3_column_type(s, c)));
            }
        }
        ++table.m_rows;
        for (int c = 0; c < table.m_columns; ++c) {
            auto& cell = table.m_cells.emplace_back();
            if (sqlite3_column_type(s, c) == SQLITE_NULL)
                continue;
            switch (table.m_kinds[c]) {
            case TSQLiteTable::Integer:
                cell = qint64(sqlite3_column_int64(s, c));
                break;
            case TSQLiteTable::Float:
                cell = sqlite3_column_double(s, c);
                break;
            case TSQLiteTable::Blob:
                if (const int size = sqlite3_column_bytes(s, c); size > 0)
                    cell = QByteArray(static_cast<const char*>(sqlite3_column_blob(s, c)), size);
                break;
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                const int size = sqlite3_column_bytes(s, c);
                const void* nul = text ? std::memchr(text, 0, std::size_t(size)) : nullptr;
                cell = QByteArray(text, nul ? static_cast<const char*>(nul) - text : size);
            }
            }
        }
    }
    return table;
}

int TSQLiteDatabase::QueryEach(const QString& sql,
                               const std::function<void(const TSQLiteRow&)>& row) {
    return QueryEach(sql, {}, row);
}

int TSQLiteDatabase::QueryEach(const QString& sql, const Values& values,
                               const std::function<void(const TSQLiteRow&)>& row) {
    Statement stmt = prepare(*this, sql, values);
    sqlite3_stmt* s = stmt.get();
    const TSQLiteRow current(s);
    int rows = 0;
    for (int rc = sqlite3_step(s); rc != SQLITE_DONE; rc = sqlite3_step(s)) {
        if (rc == SQLITE_BUSY)
            throw ESQLiteException(u"Could not prepare SQL statement"_s, busyFault(), m_fileName);
        if (rc != SQLITE_ROW)
            RaiseSqlError(u"Could not retrieve data"_s, sql);
        ++rows;
        row(current);
    }
    return rows;
}

TSQLitePrepared::TSQLitePrepared(TSQLiteDatabase& db, const QString& sql)
    : m_db(db), m_sql(sql), m_statement(prepare(db, sql).release()) {}

TSQLitePrepared::~TSQLitePrepared() {
    sqlite3_finalize(m_statement);
}

void TSQLitePrepared::BindText(int parameter, QByteArrayView bytes, Lifetime lifetime) {
    // An empty value is an empty text, not NULL.
    if (sqlite3_bind_text64(
            m_statement, parameter, bytes.data() ? bytes.data() : "", sqlite3_uint64(bytes.size()),
            lifetime == Kept ? SQLITE_STATIC : SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        m_db.RaiseSqlError(u"Could not bind a value"_s, m_sql);
}

void TSQLitePrepared::Run() {
    const int rc = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    if (rc != SQLITE_DONE)
        m_db.RaiseSqlError(u"Error executing SQL statement"_s, m_sql);
}

qint64 TSQLiteDatabase::LastInsertId() const {
    return sqlite3_last_insert_rowid(m_db.get());
}

qint64 TSQLiteDatabase::Changes() const {
    return sqlite3_changes64(m_db.get());
}

bool TSQLiteDatabase::HasTable(const QString& name) {
    QString lower = name;
    for (QChar& c : lower)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return Query(u"select [sql] from sqlite_master where [type] = 'table' and lower(name) = "_s +
                 SqlText(lower) + u" "_s)
               .Rows() > 0;
}

// ---- TSQLiteTransaction ------------------------------------------------------

TSQLiteTransaction::TSQLiteTransaction(TSQLiteDatabase& db, Span span) : m_db(db) {
    if (span == Span::Short) {
        m_db.Execute(u"BEGIN IMMEDIATE;"_s);
        return;
    }
    m_db.Execute(u"BEGIN EXCLUSIVE;"_s);
    // The files attached are held as the connection's own.
    for (const QString& file : QStringList{m_db.fileName()} + m_db.attached())
        m_held.append(heldName(file));
    locks().held.append(m_held);
}

TSQLiteTransaction::~TSQLiteTransaction() {
    if (m_open) {
        try {
            m_db.Execute(u"ROLLBACK;"_s);
        } catch (const ESQLiteException&) {
            // SQLite has already rolled back after the failure that brought us here.
        }
    }
    end();
}

void TSQLiteTransaction::end() {
    for (const QString& file : std::exchange(m_held, QStringList()))
        locks().held.removeOne(file);
}

void TSQLiteTransaction::Commit() {
    m_db.Execute(u"COMMIT;"_s);
    m_open = false;
    end();
}

QString SqlText(const QString& text) {
    QString literal;
    literal.reserve(text.size() + 2);
    literal += u'\'';
    for (QChar c : text) {
        if (c == u'\'')
            literal += u'\'';
        if (c != QChar(0))
            literal += c;
    }
    literal += u'\'';
    return literal;
}

bool IsSqlKeyword(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    return sqlite3_keyword_check(bytes.constData(), int(bytes.size())) != 0;
}

QString SqlName(const QString& name) {
    QString quoted = name;
    quoted.remove(QChar(0));
    return u'"' + quoted.replace(u'"', u"\"\""_s) + u'"';
}

namespace {

// The first 100 bytes of a database file, read through a read-only
// connection's own descriptor. SQLite's descriptors are safe to close: while
// any connection of the process holds a lock on the file, SQLite keeps the
// descriptor open until the lock is gone.
QByteArray databaseHeader(const QString& file) {
    sqlite3* db = nullptr;
    QByteArray header(100, '\0');
    sqlite3_file* handle = nullptr;
    const bool read =
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &handle) == SQLITE_OK &&
        handle && handle->pMethods &&
        handle->pMethods->xRead(handle, header.data(), int(header.size()), 0) == SQLITE_OK;
    sqlite3_close(db);
    return read ? header : QByteArray();
}

} // namespace

QByteArray DatabaseStamp(const QString& file) {
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QByteArray();
    const QByteArray header = databaseHeader(file);
    // Bytes 18 and 19 are 2 in write-ahead-log mode; 24 to 27 hold the change
    // counter, 92 to 95 the counter that the rest of the header is valid for.
    if (header.size() < 100 || !header.startsWith("SQLite format 3") || header[18] == 2 ||
        header[19] == 2)
        return QByteArray();
    QByteArray stamp = header.mid(24, 4) + header.mid(92, 4);
    for (const qint64 value : {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size),
                               qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)})
        stamp.append(reinterpret_cast<const char*>(&value), sizeof value);
    return stamp;
}
