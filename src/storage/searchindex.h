#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <atomic>
#include <memory>

struct sqlite3;
struct TModuleState;

// One record the search index finds: its kind ("poznamky", ...), its group's
// table and its id.
struct TSearchHit {
    QString kind;
    QString table;
    qint64 id = 0;
    bool operator==(const TSearchHit&) const = default;
};

// The words a user typed as a full-text query: each word a quoted prefix,
// all of them required. Quotes, operators (AND, OR, NOT, NEAR), stars,
// brackets and control characters are searched for as words or dropped,
// never read as query syntax. Empty when the text holds no word.
QString SearchExpression(const QString& text);
// The words of a search text, as the index reads them.
QStringList SearchWords(const QString& text);
// A piece of a record's text around the first word that one of the search's
// words starts, as HTML with that word in bold; its start when none does.
QString SearchSnippet(const QString& text, const QString& search);

// The index of every record's words, for finding records by any word of
// them whatever its case and accents, by word prefixes. A file of its own
// (never one of the data files), in UTF-8, which can always be deleted: it
// is made again from the data files. A file that is damaged, or of another
// layout, is deleted and made anew when opened.
class TSearchIndex {
public:
    // Opens the file, or makes it; one that is only read is never made anew.
    enum class Access { ReadWrite, ReadOnly };
    explicit TSearchIndex(const QString& fileName, Access access = Access::ReadWrite);
    ~TSearchIndex();
    TSearchIndex(const TSearchIndex&) = delete;
    TSearchIndex& operator=(const TSearchIndex&) = delete;

    // Whether the index can be used; false when its file can be neither
    // opened nor made (a folder in its place, no room, no rights).
    bool usable() const { return m_db != nullptr; }
    // Why it cannot, for stderr.
    QString fault() const { return m_fault; }

    // A record's words, put in or replaced, with the hash of what they were
    // read from.
    void put(const TSearchHit& record, qint64 hash, const QString& title, const QString& text);
    void remove(const TSearchHit& record);
    // The hashes of a group's records, by id.
    QHash<qint64, qint64> hashes(const QString& kind, const QString& table);
    // Everything a group holds, removed (a dropped or binned group).
    void removeGroup(const QString& kind, const QString& table);
    // The groups of a kind the index holds.
    QStringList tables(const QString& kind);
    // The stamp of a data file as it was when its records were last read in
    // (empty when never), and setting it.
    QByteArray fileStamp(const QString& file);
    void setFileStamp(const QString& file, const QByteArray& stamp);

    // Many changes as one: faster, and all or nothing.
    void begin();
    void commit();

    // The records whose words match every word of the text by its start;
    // of one kind and group where they are given. At most `limit`.
    QList<TSearchHit> find(const QString& text, const QString& kind = QString(),
                           const QString& table = QString(), int limit = 1'000'000);

private:
    bool open(const QString& fileName, Access access);
    // The number of a kind's group; made when asked to, else 0 when none.
    qint64 groupNumber(const QString& kind, const QString& table, bool make);
    // Keeps the error, and leaves the index unusable.
    void fail();
    void close();
    void execute(const char* sql);

    struct Statements;
    sqlite3* m_db = nullptr;
    std::unique_ptr<Statements> m_statements;
    QHash<QString, qint64> m_groupNumbers;
    QString m_fault;
};

// What the index reads of a kind's data file: the kind's name, its file,
// whether it has groups (else its one table), and the SQL expressions of a
// record's title and text. A copy, to be read on another thread.
struct TSearchSource {
    QString kind;
    QString file;
    bool grouped;
    QString defaultTable;
    QString title;
    QString text;
    TSearchSource(const QString& kind, const TModuleState& module, const QString& title,
                  const QString& text);
};

// Brings the index up to the kind's data file: nothing when the file is as
// it was at the last look (its change counter and identity); else every
// shown group's visible records whose words changed are put in again, the
// records gone or binned and the groups dropped or binned are taken out.
// True when the index changed. A file that cannot be read leaves the index
// as it was, to be looked at again the next time. When `stop` is set the
// look ends before the next record: what was put in stays, and the next look
// goes on from there.
bool UpdateSearchIndex(TSearchIndex& index, const TSearchSource& source,
                       const std::atomic<bool>* stop = nullptr);
