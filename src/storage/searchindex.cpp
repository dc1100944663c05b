#include "searchindex.h"

#include "datafiles.h"
#include "exception.h"
#include "sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The layout this program writes; another one is made anew.
constexpr int kLayout = 2;

constexpr const char* kSchema[] = {
    "CREATE TABLE records(rowid INTEGER PRIMARY KEY, kind TEXT NOT NULL, tbl TEXT NOT NULL, "
    "id INTEGER NOT NULL, hash INTEGER NOT NULL, UNIQUE(kind, tbl, id))",
    "CREATE TABLE files(name TEXT PRIMARY KEY, stamp BLOB)",
    // Words only, no positions: a record matches or it does not, and the
    // index stays small beside its text.
    "CREATE VIRTUAL TABLE words USING fts5(title, text, "
    "tokenize='unicode61 remove_diacritics 2', detail=none, prefix='2 3')",
};

// The longest search the index is asked: words beyond are left out.
constexpr int kMostWords = 16;

// A prepared statement, finalized with its owner.
struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement() = default;
    Statement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    }
    ~Statement() { sqlite3_finalize(s); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& text(int at, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(s, at, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& number(int at, qint64 value) {
        sqlite3_bind_int64(s, at, value);
        return *this;
    }
    Statement& blob(int at, const QByteArray& value) {
        sqlite3_bind_blob(s, at, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // Steps once: SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return sqlite3_step(s); }
    void reset() {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
    QString columnText(int column) const {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, column)),
                                 sqlite3_column_bytes(s, column));
    }
};

} // namespace

struct TSearchIndex::Statements {
    explicit Statements(sqlite3* db)
        : rowOf(db, "SELECT rowid FROM records WHERE kind=?1 AND tbl=?2 AND id=?3"),
          addRecord(db, "INSERT INTO records(kind, tbl, id, hash) VALUES(?1, ?2, ?3, ?4)"),
          setHash(db, "UPDATE records SET hash=?2 WHERE rowid=?1"),
          dropWords(db, "DELETE FROM words WHERE rowid=?1"),
          addWords(db, "INSERT INTO words(rowid, title, text) VALUES(?1, ?2, ?3)"),
          dropRecord(db, "DELETE FROM records WHERE rowid=?1") {}
    Statement rowOf, addRecord, setHash, dropWords, addWords, dropRecord;
};

QStringList SearchWords(const QString& text) {
    QStringList words;
    QString word;
    const auto end = [&] {
        if (!word.isEmpty() && words.size() < kMostWords)
            words.append(word);
        word.clear();
    };
    // Words as the index's tokenizer reads them: letters, digits and marks;
    // everything else parts them.
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c.isMark())
            word += c;
        else
            end();
    }
    end();
    return words;
}

QString SearchExpression(const QString& text) {
    QStringList words = SearchWords(text);
    for (QString& word : words)
        word = u'"' + word + u"\"*"_s;
    return words.join(u' ');
}

namespace {

// The text as the index compares it, character for character: lower case,
// the accents taken off.
QString folded(const QString& text) {
    QString plain = text;
    for (QChar& c : plain) {
        if (c.decompositionTag() == QChar::Canonical)
            c = c.decomposition().at(0);
        c = c.toLower();
    }
    return plain;
}

} // namespace

QString SearchSnippet(const QString& text, const QString& search) {
    constexpr qsizetype kBefore = 30, kAfter = 70;
    const QString plain = folded(text);
    qsizetype at = -1, length = 0;
    for (const QString& word : SearchWords(folded(search))) {
        for (qsizetype from = plain.indexOf(word); from >= 0; from = plain.indexOf(word, from + 1))
            if (from == 0 || !plain[from - 1].isLetterOrNumber()) {
                if (at < 0 || from < at) {
                    at = from;
                    length = word.size();
                }
                break;
            }
    }
    // A piece of the text on one line, blanks kept, as HTML.
    const auto piece = [&text](qsizetype from, qsizetype to) {
        QString line;
        for (qsizetype i = from; i < to; ++i)
            if (!text[i].isSpace())
                line += text[i];
            else if (!line.endsWith(u' '))
                line += u' ';
        return line.toHtmlEscaped();
    };
    if (at < 0)
        return piece(0, std::min(text.size(), kAfter)) +
               (text.size() > kAfter ? u"…"_s : QString());
    // The whole word the search's word starts.
    qsizetype end = at + length;
    while (end < text.size() && text[end].isLetterOrNumber())
        ++end;
    const qsizetype from = std::max<qsizetype>(0, at - kBefore);
    const qsizetype to = std::min(text.size(), end + kAfter);
    return (from > 0 ? u"…"_s : QString()) + piece(from, at) + u"<b>"_s + piece(at, end) +
           u"</b>"_s + piece(end, to) + (to < text.size() ? u"…"_s : QString());
}

TSearchIndex::TSearchIndex(const QString& fileName, Access access) {
    if (open(fileName, access))
        return;
    if (access == Access::ReadOnly) {
        close();
        return;
    }
    // Damaged, or of another layout: made anew.
    close();
    QFile::remove(fileName);
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(fileName + QLatin1StringView(suffix));
    if (open(fileName, access))
        m_fault.clear();
    else
        close();
}

TSearchIndex::~TSearchIndex() {
    close();
}

void TSearchIndex::close() {
    m_statements.reset();
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
}

bool TSearchIndex::open(const QString& fileName, Access access) {
    if (QFileInfo(fileName).isDir()) {
        m_fault = fileName + u" is a folder"_s;
        return false;
    }
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(fileName.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }
    sqlite3_busy_timeout(m_db, 2000);
    sqlite3_stmt* version = nullptr;
    int layout = -1;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &version, nullptr) == SQLITE_OK &&
        sqlite3_step(version) == SQLITE_ROW)
        layout = sqlite3_column_int(version, 0);
    sqlite3_finalize(version);
    if (layout == 0 && access == Access::ReadWrite) {
        // A new file: its tables, then the layout's number.
        execute("BEGIN");
        for (const char* sql : kSchema)
            execute(sql);
        execute("PRAGMA user_version=2");
        execute("COMMIT");
        if (!m_db)
            return false;
        layout = kLayout;
    }
    if (layout != kLayout) {
        m_fault = u"%1 has another layout (%2)"_s.arg(fileName).arg(layout);
        return false;
    }
    // A damaged file fails here rather than at the first search.
    sqlite3_stmt* check = nullptr;
    const bool readable =
        sqlite3_prepare_v2(m_db, "SELECT count(*) FROM words WHERE words MATCH 'x'", -1, &check,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW;
    sqlite3_finalize(check);
    if (!readable) {
        m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }
    // Searches read while the index is being brought up to date.
    if (access == Access::ReadWrite)
        execute("PRAGMA journal_mode=WAL");
    if (!m_db)
        return false;
    m_statements = std::make_unique<Statements>(m_db);
    return true;
}

void TSearchIndex::execute(const char* sql) {
    if (!m_db)
        return;
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        m_fault = QString::fromUtf8(error);
        sqlite3_free(error);
        close();
    }
}

void TSearchIndex::begin() {
    execute("BEGIN");
}

void TSearchIndex::commit() {
    execute("COMMIT");
}

void TSearchIndex::put(const TSearchHit& record, qint64 hash, const QString& title,
                       const QString& text) {
    if (!m_db)
        return;
    Statements& s = *m_statements;
    s.rowOf.text(1, record.kind).text(2, record.table).number(3, record.id);
    qint64 row = 0;
    const bool known = s.rowOf.step() == SQLITE_ROW;
    if (known)
        row = sqlite3_column_int64(s.rowOf.s, 0);
    s.rowOf.reset();
    bool done = true;
    if (known) {
        done = s.dropWords.number(1, row).step() == SQLITE_DONE &&
               s.setHash.number(1, row).number(2, hash).step() == SQLITE_DONE;
        s.dropWords.reset();
        s.setHash.reset();
    } else {
        done = s.addRecord.text(1, record.kind)
                   .text(2, record.table)
                   .number(3, record.id)
                   .number(4, hash)
                   .step() == SQLITE_DONE;
        s.addRecord.reset();
        row = sqlite3_last_insert_rowid(m_db);
    }
    done = done && s.addWords.number(1, row).text(2, title).text(3, text).step() == SQLITE_DONE;
    s.addWords.reset();
    if (!done) {
        m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
    }
}

void TSearchIndex::remove(const TSearchHit& record) {
    if (!m_db)
        return;
    Statements& s = *m_statements;
    s.rowOf.text(1, record.kind).text(2, record.table).number(3, record.id);
    if (s.rowOf.step() == SQLITE_ROW) {
        const qint64 row = sqlite3_column_int64(s.rowOf.s, 0);
        s.rowOf.reset();
        const bool done = s.dropWords.number(1, row).step() == SQLITE_DONE &&
                          s.dropRecord.number(1, row).step() == SQLITE_DONE;
        s.dropWords.reset();
        s.dropRecord.reset();
        if (!done) {
            m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
            close();
        }
        return;
    }
    s.rowOf.reset();
}

void TSearchIndex::removeGroup(const QString& kind, const QString& table) {
    if (!m_db)
        return;
    bool done = true;
    for (const char* sql :
         {"DELETE FROM words WHERE rowid IN (SELECT rowid FROM records WHERE kind=?1 AND tbl=?2)",
          "DELETE FROM records WHERE kind=?1 AND tbl=?2"}) {
        Statement statement(m_db, sql);
        done = done && statement.text(1, kind).text(2, table).step() == SQLITE_DONE;
    }
    if (!done) {
        m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
    }
}

QHash<qint64, qint64> TSearchIndex::hashes(const QString& kind, const QString& table) {
    QHash<qint64, qint64> all;
    if (!m_db)
        return all;
    Statement statement(m_db, "SELECT id, hash FROM records WHERE kind=?1 AND tbl=?2");
    statement.text(1, kind).text(2, table);
    while (statement.step() == SQLITE_ROW)
        all.insert(sqlite3_column_int64(statement.s, 0), sqlite3_column_int64(statement.s, 1));
    return all;
}

QStringList TSearchIndex::tables(const QString& kind) {
    QStringList all;
    if (!m_db)
        return all;
    Statement statement(m_db, "SELECT DISTINCT tbl FROM records WHERE kind=?1 ORDER BY tbl");
    statement.text(1, kind);
    while (statement.step() == SQLITE_ROW)
        all.append(statement.columnText(0));
    return all;
}

QByteArray TSearchIndex::fileStamp(const QString& file) {
    if (!m_db)
        return QByteArray();
    Statement statement(m_db, "SELECT stamp FROM files WHERE name=?1");
    if (statement.text(1, file).step() != SQLITE_ROW)
        return QByteArray();
    return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement.s, 0)),
                      sqlite3_column_bytes(statement.s, 0));
}

void TSearchIndex::setFileStamp(const QString& file, const QByteArray& stamp) {
    if (!m_db)
        return;
    Statement statement(m_db, "INSERT OR REPLACE INTO files(name, stamp) VALUES(?1, ?2)");
    if (statement.text(1, file).blob(2, stamp).step() != SQLITE_DONE) {
        m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
    }
}

QList<TSearchHit> TSearchIndex::find(const QString& text, const QString& kind, const QString& table,
                                     int limit) {
    QList<TSearchHit> hits;
    const QString expression = SearchExpression(text);
    if (!m_db || expression.isEmpty())
        return hits;
    Statement statement(m_db,
                        "SELECT r.kind, r.tbl, r.id FROM words CROSS JOIN records r ON r.rowid = "
                        "words.rowid WHERE words MATCH ?1 AND (?2 IS NULL OR r.kind = ?2) AND "
                        "(?3 IS NULL OR r.tbl = ?3) LIMIT ?4");
    statement.text(1, expression).number(4, limit);
    if (!kind.isNull())
        statement.text(2, kind);
    if (!table.isNull())
        statement.text(3, table);
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW)
        hits.append({statement.columnText(0), statement.columnText(1),
                     sqlite3_column_int64(statement.s, 2)});
    if (rc != SQLITE_DONE)
        m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
    return hits;
}

TSearchSource::TSearchSource(const QString& kind, const TModuleState& module, const QString& title,
                             const QString& text)
    : kind(kind), file(module.file), grouped(module.grouped), defaultTable(module.defaultTable),
      title(title), text(text) {}

bool UpdateSearchIndex(TSearchIndex& index, const TSearchSource& source) {
    const TSearchSource& module = source;
    const QByteArray stamp = DatabaseStamp(module.file);
    if (!index.usable() || (!stamp.isEmpty() && stamp == index.fileStamp(module.file)))
        return false;
    bool changed = false;
    index.begin();
    try {
        TSQLiteDatabase db(module.file);
        QStringList shown;
        if (module.grouped) {
            db.QueryEach(u"SELECT nametable FROM tables WHERE viditelnost=1"_s,
                         [&](const TSQLiteRow& row) { shown.append(row.CellTextOrEmpty(0)); });
        } else {
            shown.append(module.defaultTable);
        }
        shown.removeIf([&db](const QString& table) { return !db.HasTable(table); });
        for (const QString& table : index.tables(source.kind))
            if (!shown.contains(table)) {
                index.removeGroup(source.kind, table);
                changed = true;
            }
        for (const QString& table : shown) {
            QHash<qint64, qint64> known = index.hashes(source.kind, table);
            db.QueryEach(u"SELECT id, "_s + source.title + u", "_s + source.text + u" FROM "_s +
                             SqlName(table) + u" WHERE viditelnost=1"_s,
                         [&](const TSQLiteRow& row) {
                             const qint64 id = row.CellInt64(0);
                             const QByteArrayView title = row.CellBytes(1), text = row.CellBytes(2);
                             const qint64 hash =
                                 qint64(qHashBits(title.data(), title.size(), 1) ^
                                        qHashBits(text.data(), text.size(), 2) * 31);
                             const auto was = known.constFind(id);
                             if (was == known.constEnd() || *was != hash) {
                                 index.put({source.kind, table, id}, hash, row.CellTextOrEmpty(1),
                                           row.CellTextOrEmpty(2));
                                 changed = true;
                             }
                             if (was != known.constEnd())
                                 known.erase(was);
                         });
            for (auto gone = known.cbegin(); gone != known.cend(); ++gone) {
                index.remove({source.kind, table, gone.key()});
                changed = true;
            }
        }
        if (!stamp.isEmpty())
            index.setFileStamp(module.file, stamp);
        index.commit();
    } catch (const Exception&) {
        // Read again at the next look; what was put in so far is right.
        index.commit();
    }
    return changed;
}
