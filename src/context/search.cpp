#include "search.h"

#include <QMetaObject>
#include <cstdio>

TSearch::TSearch(const QString& indexFile, QList<TSearchSource> sources)
    : m_file(indexFile), m_sources(std::move(sources)), m_worker(new QObject) {
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("search index"));
    m_thread.start(QThread::LowPriority);
    refresh();
}

TSearch::~TSearch() {
    m_stopping = true;
    m_thread.quit();
    m_thread.wait();
    m_writer.reset();
}

void TSearch::refresh() {
    if (m_pending.exchange(true))
        return; // a look is waiting already
    QMetaObject::invokeMethod(
        m_worker, [this] { work(); }, Qt::QueuedConnection);
}

void TSearch::work() {
    m_pending = false;
    if (!m_writer) {
        m_writer = std::make_unique<TSearchIndex>(m_file);
        if (!m_writer->usable())
            std::fprintf(stderr, "velmorand: search is unavailable: %s\n",
                         qPrintable(m_writer->fault()));
    }
    bool changed = false;
    for (const TSearchSource& source : m_sources)
        if (!m_stopping)
            changed |= UpdateSearchIndex(*m_writer, source, &m_stopping);
    const bool first = !m_ready.exchange(m_writer->usable());
    if (changed || first)
        emit updated();
}

bool TSearch::available() {
    if (!m_ready)
        return false;
    if (!m_reader)
        m_reader = std::make_unique<TSearchIndex>(m_file, TSearchIndex::Access::ReadOnly);
    return m_reader->usable();
}

QList<TSearchHit> TSearch::findAll(const QString& text, int limit) {
    return available() ? m_reader->find(text, QString(), QString(), limit) : QList<TSearchHit>();
}

QList<qint64> TSearch::find(const QString& text, const QString& kind, const QString& table) {
    QList<qint64> ids;
    if (!available())
        return ids;
    for (const TSearchHit& hit : m_reader->find(text, kind, table))
        ids.append(hit.id);
    return ids;
}
