#pragma once

#include "storage/searchindex.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

// Search over the records of every kind: the index file kept up to the
// data files on a thread of its own (with its own connections), so that no
// window waits for it, and searches answered at once from what it holds.
// Where the index cannot be used, search finds nothing and says so once on
// stderr; the program works on.
class TSearch : public QObject {
    Q_OBJECT
public:
    TSearch(const QString& indexFile, QList<TSearchSource> sources);
    ~TSearch() override;

    // Looks at the data files again (after a change the program made, or
    // when a window comes back); files as they were are not read.
    void refresh();
    // The ids of a kind's group whose records match every word's start.
    QList<qint64> find(const QString& text, const QString& kind, const QString& table);
    // The records of every kind and group that match, at most `limit`.
    QList<TSearchHit> findAll(const QString& text, int limit);
    // Whether the index answers.
    bool available();

signals:
    // The index took in a change.
    void updated();

private:
    void work();

    const QString m_file;
    const QList<TSearchSource> m_sources;
    QThread m_thread;
    QObject* m_worker;
    std::unique_ptr<TSearchIndex> m_writer; // the worker thread's
    std::unique_ptr<TSearchIndex> m_reader; // the interface's, once the file is made
    std::atomic<bool> m_pending{false};
    std::atomic<bool> m_ready{false};
    // Set when the program ends: a look under way stops at the next record.
    std::atomic<bool> m_stopping{false};
};
