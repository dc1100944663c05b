#pragma once

#include "exception.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The one error type of the access layer, with an English message. Errors
// of the database itself say what went wrong and name the file; those of
// reading a result (a column that is not there) are the program's own.
class ESQLiteException : public Exception {
public:
    explicit ESQLiteException(QString message, EFault fault = EFault::Unexpected,
                              QString file = QString())
        : Exception(std::move(message), fault, std::move(file)) {}
};

// The complete result of one query, held in memory. It does not depend on the
// connection it came from and may outlive it. Its rows never change; only the
// cursor moves, forward only.
class TSQLiteTable {
public:
    // Column kinds are SQLite's fundamental type codes.
    enum Kind { Integer = 1, Float = 2, Text = 3, Blob = 4, Null = 5 };

    TSQLiteTable() = default;
    TSQLiteTable(TSQLiteTable&&) noexcept = default;
    TSQLiteTable& operator=(TSQLiteTable&&) noexcept = default;

    int Rows() const { return m_rows; }
    int ColumnCount() const { return m_columns; }
    bool AtEnd() const { return m_cursor >= m_rows; }
    bool Advance();
    int ColumnIndex(const QString& name) const;
    // The column's name in capitals.
    QString ColumnName(int column) const { return m_names.value(column); }
    int ColumnKind(int column) const { return m_kinds.at(column); }

    QString CellText(int column) const;
    QString CellTextOrEmpty(int column) const;
    qint64 CellInt64(int column) const;
    double CellFloat(int column) const;
    // The blob's bytes, owned by the table; null for an empty cell.
    const QByteArray* CellStream(int column) const;
    QString CellStreamText(int column) const;

private:
    friend class TSQLiteDatabase;
    // A text or a blob is held as its stored bytes; texts are decoded when read.
    using Cell = std::variant<std::monostate, qint64, double, QByteArray>;

    const Cell& cell(int column) const;

    std::vector<Cell> m_cells;
    QStringList m_names;
    std::vector<int> m_kinds;
    int m_rows = 0;
    int m_columns = 0;
    int m_cursor = 0;
};

// The row a statement stands on while its rows are read one by one. It is
// valid only inside the call that receives it.
class TSQLiteRow {
public:
    explicit TSQLiteRow(sqlite3_stmt* statement) : m_statement(statement) {}
    int ColumnCount() const;
    // The column of that name, ASCII letters compared without case.
    int ColumnIndex(const QString& name) const;
    // SQLite's own conversions: 0 for an empty cell or a text that is no number.
    qint64 CellInt64(int column) const;
    // The stored text up to its first NUL, decoded; empty for an empty cell.
    QString CellTextOrEmpty(int column) const;
    // The same, put onto the end of `text`.
    void AppendCellText(int column, QString& text) const;
    // The stored bytes up to the first NUL, valid until the row moves on.
    QByteArrayView CellBytes(int column) const;

private:
    sqlite3_stmt* m_statement;
};

// One open database file, closed when the object goes out of scope. Every
// statement commits on its own unless a TSQLiteTransaction is open.
class TSQLiteDatabase {
public:
    // Opens or creates the file and sets the connection's two pragmas.
    explicit TSQLiteDatabase(const QString& fileName);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // A value bound to a parameter ?1, ?2, ... of a statement: a number, or
    // a text stored in the files' code page (up to its first NUL).
    using Value = std::variant<qint64, QString>;
    using Values = QList<Value>;

    // Runs the statement, which must return no rows, with the values bound
    // to its parameters. A text holding more than one statement is refused
    // before anything runs.
    void Execute(const QString& sql, const Values& values = {});
    // Runs the statement and loads all its rows.
    TSQLiteTable Query(const QString& sql, const Values& values = {});
    // Runs the statement and hands its rows, one at a time, to `row`,
    // holding none of them. Answers the number of rows.
    int QueryEach(const QString& sql, const std::function<void(const TSQLiteRow&)>& row);
    int QueryEach(const QString& sql, const Values& values,
                  const std::function<void(const TSQLiteRow&)>& row);
    // The id of the row the last INSERT of this connection made.
    qint64 LastInsertId() const;
    // How many rows the last INSERT, UPDATE or DELETE of this connection changed.
    qint64 Changes() const;
    // Whether a table of that name exists, ASCII letters compared without case.
    bool HasTable(const QString& name);
    // Opens another file in this connection as `schema` (its tables are
    // schema.table): one transaction then spans both files.
    void Attach(const QString& fileName, const QString& schema);
    // The files attached.
    const QStringList& attached() const { return m_attached; }
    [[noreturn]] void RaiseSqlError(const QString& message, const QString& sql);

    sqlite3* handle() const { return m_db.get(); }
    const QString& fileName() const { return m_fileName; }

    // How long a statement waits for a lock that another connection holds
    // before it fails with the file busy. A file that a long transaction of
    // this process holds is never waited for: nothing else runs until the
    // wait ends.
    static void SetBusyTimeout(int milliseconds);

private:
    // Busy or BusyHere, by who holds the file.
    EFault busyFault() const;

    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> m_db;
    QString m_fileName;
    QStringList m_attached;
};

// A statement compiled once and run many times with new values, as an
// import runs its insert. Its parameters are ?1, ?2, ...
class TSQLitePrepared {
public:
    TSQLitePrepared(TSQLiteDatabase& db, const QString& sql);
    ~TSQLitePrepared();
    TSQLitePrepared(const TSQLitePrepared&) = delete;
    TSQLitePrepared& operator=(const TSQLitePrepared&) = delete;

    // A text parameter, as the bytes the files hold (the 8-bit code page).
    // Copied, or, when the caller keeps them unchanged until Run, not.
    enum Lifetime { Copied, Kept };
    void BindText(int parameter, QByteArrayView bytes, Lifetime lifetime = Copied);
    // Runs the statement with the values bound, then readies it for the next.
    void Run();

private:
    TSQLiteDatabase& m_db;
    QString m_sql;
    sqlite3_stmt* m_statement = nullptr;
};

// Several statements that belong together: all of them or none. Rolls back
// when it goes out of scope without Commit. A short one runs within one
// command. A long one is kept across turns of the event loop (an import):
// it holds the file whole from its start, so that other connections meet
// one state throughout, and while it is open a statement of this process
// that meets its lock fails at once with `EFault::BusyHere`.
class TSQLiteTransaction {
public:
    enum class Span { Short, Long };
    explicit TSQLiteTransaction(TSQLiteDatabase& db, Span span = Span::Short);
    ~TSQLiteTransaction();
    TSQLiteTransaction(const TSQLiteTransaction&) = delete;
    TSQLiteTransaction& operator=(const TSQLiteTransaction&) = delete;
    void Commit();

private:
    void end();

    TSQLiteDatabase& m_db;
    QStringList m_held;
    bool m_open = true;
};

// A standard SQL string literal for any text: single quotes, inner single
// quotes doubled. It always stands for its text (also when the text equals a
// column name) and can neither end nor extend the statement. NUL characters
// are left out: a stored text ends at its first NUL anyway.
QString SqlText(const QString& text);

// Whether the name is one of SQLite's keywords (SELECT, TABLE, ...), any case.
bool IsSqlKeyword(const QString& name);

// A table name as a quoted SQL identifier: double quotes, inner double
// quotes doubled. Whatever a catalogue or view file holds, it can only name
// a table.
QString SqlName(const QString& name);

// What tells one state of a database file from another cheaply: the file's
// identity, size and time, and the change counter that SQLite moves in the
// file's header with every write. The header is read through SQLite, never
// through a descriptor of the program's own: closing one would drop every
// lock the process holds on the file. Empty when the file is missing or
// unreadable, or written in write-ahead-log mode, whose writes do not move
// the counter: then no state can be told.
QByteArray DatabaseStamp(const QString& file);
