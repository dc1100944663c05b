#include "searchindex.h"

#include "datafiles.h"
#include "exception.h"
#include "sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace {

// The layout this program writes; another one is made anew.
constexpr int kLayout = 4;

// A record's row in the index: its group's number above its id, so that a
// group's records are one range of rows, found and dropped as one.
constexpr int kIdBits = 40;
constexpr qint64 kMostId = (qint64(1) << kIdBits) - 1;

constexpr const char* kSchema[] = {
    "CREATE TABLE groups(number INTEGER PRIMARY KEY, kind TEXT NOT NULL, tbl TEXT NOT NULL, "
    "UNIQUE(kind, tbl))",
    "CREATE TABLE records(rowid INTEGER PRIMARY KEY, hash INTEGER NOT NULL)",
    "CREATE TABLE files(name TEXT PRIMARY KEY, stamp BLOB)",
    // Words only, no positions: a record matches or it does not, and the
    // index stays small beside its text. Starts of up to 5 letters are kept
    // apart: without them a start is every word it begins merged at each
    // keystroke (80 ms for a common start among 500,000 records, under 10
    // with them, for a seventh more room).
    "CREATE VIRTUAL TABLE words USING fts5(title, text, "
    "tokenize='unicode61 remove_diacritics 2', detail=none, prefix='1 2 3 4 5')",
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
        : hashOf(db, "SELECT hash FROM records WHERE rowid=?1"),
          addRecord(db, "INSERT OR REPLACE INTO records(rowid, hash) VALUES(?1, ?2)"),
          dropWords(db, "DELETE FROM words WHERE rowid=?1"),
          addWords(db, "INSERT INTO words(rowid, title, text) VALUES(?1, ?2, ?3)"),
          dropRecord(db, "DELETE FROM records WHERE rowid=?1") {}
    Statement hashOf, addRecord, dropWords, addWords, dropRecord;
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
    m_groupNumbers.clear();
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
        execute(("PRAGMA user_version=" + std::to_string(kLayout)).c_str());
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

void TSearchIndex::fail() {
    m_fault = QString::fromUtf8(sqlite3_errmsg(m_db));
    close();
}

qint64 TSearchIndex::groupNumber(const QString& kind, const QString& table, bool make) {
    if (!m_db)
        return 0;
    const QString key = kind + u'/' + table;
    if (const qint64 known = m_groupNumbers.value(key))
        return known;
    Statement find(m_db, "SELECT number FROM groups WHERE kind=?1 AND tbl=?2");
    qint64 number = 0;
    if (find.text(1, kind).text(2, table).step() == SQLITE_ROW) {
        number = sqlite3_column_int64(find.s, 0);
    } else if (make) {
        Statement add(m_db, "INSERT INTO groups(kind, tbl) VALUES(?1, ?2)");
        if (add.text(1, kind).text(2, table).step() != SQLITE_DONE) {
            fail();
            return 0;
        }
        number = sqlite3_last_insert_rowid(m_db);
    }
    if (number > 0)
        m_groupNumbers.insert(key, number);
    return number;
}

void TSearchIndex::put(const TSearchHit& record, qint64 hash, const QString& title,
                       const QString& text) {
    // An id out of the range a row can hold is not searched for.
    if (record.id < 0 || record.id > kMostId)
        return;
    const qint64 number = groupNumber(record.kind, record.table, true);
    if (!m_db)
        return;
    const qint64 row = (number << kIdBits) | record.id;
    Statements& s = *m_statements;
    const bool known = s.hashOf.number(1, row).step() == SQLITE_ROW;
    s.hashOf.reset();
    bool done = !known || s.dropWords.number(1, row).step() == SQLITE_DONE;
    s.dropWords.reset();
    done = done && s.addRecord.number(1, row).number(2, hash).step() == SQLITE_DONE;
    s.addRecord.reset();
    done = done && s.addWords.number(1, row).text(2, title).text(3, text).step() == SQLITE_DONE;
    s.addWords.reset();
    if (!done)
        fail();
}

void TSearchIndex::remove(const TSearchHit& record) {
    const qint64 number = groupNumber(record.kind, record.table, false);
    if (!m_db || number == 0 || record.id < 0 || record.id > kMostId)
        return;
    const qint64 row = (number << kIdBits) | record.id;
    Statements& s = *m_statements;
    const bool known = s.hashOf.number(1, row).step() == SQLITE_ROW;
    s.hashOf.reset();
    if (!known)
        return;
    const bool done = s.dropWords.number(1, row).step() == SQLITE_DONE &&
                      s.dropRecord.number(1, row).step() == SQLITE_DONE;
    s.dropWords.reset();
    s.dropRecord.reset();
    if (!done)
        fail();
}

void TSearchIndex::removeGroup(const QString& kind, const QString& table) {
    const qint64 number = groupNumber(kind, table, false);
    if (!m_db || number == 0)
        return;
    bool done = true;
    for (const char* sql : {"DELETE FROM words WHERE rowid BETWEEN ?1 AND ?2",
                            "DELETE FROM records WHERE rowid BETWEEN ?1 AND ?2"}) {
        Statement statement(m_db, sql);
        done = done && statement.number(1, number << kIdBits)
                               .number(2, (number << kIdBits) | kMostId)
                               .step() == SQLITE_DONE;
    }
    Statement group(m_db, "DELETE FROM groups WHERE number=?1");
    done = done && group.number(1, number).step() == SQLITE_DONE;
    m_groupNumbers.remove(kind + u'/' + table);
    if (!done)
        fail();
}

QHash<qint64, qint64> TSearchIndex::hashes(const QString& kind, const QString& table) {
    QHash<qint64, qint64> all;
    const qint64 number = groupNumber(kind, table, false);
    if (!m_db || number == 0)
        return all;
    Statement statement(m_db, "SELECT rowid, hash FROM records WHERE rowid BETWEEN ?1 AND ?2");
    statement.number(1, number << kIdBits).number(2, (number << kIdBits) | kMostId);
    while (statement.step() == SQLITE_ROW)
        all.insert(sqlite3_column_int64(statement.s, 0) & kMostId,
                   sqlite3_column_int64(statement.s, 1));
    return all;
}

QStringList TSearchIndex::tables(const QString& kind) {
    QStringList all;
    if (!m_db)
        return all;
    Statement statement(m_db, "SELECT tbl FROM groups WHERE kind=?1 ORDER BY tbl");
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
    // One group: its range of rows, their ids below its number.
    if (!kind.isNull() && !table.isNull()) {
        const qint64 number = groupNumber(kind, table, false);
        if (number == 0)
            return hits;
        Statement statement(
            m_db,
            "SELECT rowid FROM words WHERE words MATCH ?1 AND rowid BETWEEN ?2 AND ?3 LIMIT ?4");
        statement.text(1, expression)
            .number(2, number << kIdBits)
            .number(3, (number << kIdBits) | kMostId)
            .number(4, limit);
        while (statement.step() == SQLITE_ROW)
            hits.append({kind, table, sqlite3_column_int64(statement.s, 0) & kMostId});
        return hits;
    }
    // Every group, or a kind's: each row's group by its number.
    QHash<qint64, std::pair<QString, QString>> groups;
    Statement all(m_db, "SELECT number, kind, tbl FROM groups");
    while (all.step() == SQLITE_ROW)
        groups.insert(sqlite3_column_int64(all.s, 0), {all.columnText(1), all.columnText(2)});
    Statement statement(m_db, "SELECT rowid FROM words WHERE words MATCH ?1");
    statement.text(1, expression);
    while (hits.size() < limit && statement.step() == SQLITE_ROW) {
        const qint64 row = sqlite3_column_int64(statement.s, 0);
        const auto group = groups.constFind(row >> kIdBits);
        if (group != groups.constEnd() && (kind.isNull() || group->first == kind))
            hits.append({group->first, group->second, row & kMostId});
    }
    return hits;
}

TSearchSource::TSearchSource(const QString& kind, const TModuleState& module, const QString& title,
                             const QString& text)
    : kind(kind), file(module.file), grouped(module.grouped), defaultTable(module.defaultTable),
      title(title), text(text) {}

bool UpdateSearchIndex(TSearchIndex& index, const TSearchSource& source,
                       const std::atomic<bool>* stop) {
    // Thrown out of a read to end the look.
    struct TStopped {};
    const auto stopping = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    const QByteArray stamp = DatabaseStamp(source.file);
    if (!index.usable() || (!stamp.isEmpty() && stamp == index.fileStamp(source.file)))
        return false;
    bool changed = false;
    index.begin();
    try {
        TSQLiteDatabase db(source.file);
        QStringList shown;
        if (source.grouped) {
            db.QueryEach(u"SELECT nametable FROM tables WHERE viditelnost=1"_s,
                         [&](const TSQLiteRow& row) { shown.append(row.CellTextOrEmpty(0)); });
        } else {
            shown.append(source.defaultTable);
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
                             if (stopping())
                                 throw TStopped();
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
            index.setFileStamp(source.file, stamp);
        index.commit();
    } catch (const TStopped&) {
        index.commit();
    } catch (const Exception&) {
        // Read again at the next look; what was put in so far is right.
        index.commit();
    }
    return changed;
}
