#include "recordlist.h"

#include <algorithm>

void TRecordItems::append(qint64 id, QStringView caption) {
    m_text.append(caption);
    m_ends.push_back(m_text.size());
    m_ids.push_back(id);
}

int TRecordItems::rowOf(qint64 id) const {
    const auto found = std::find(m_ids.begin(), m_ids.end(), id);
    return found == m_ids.end() ? -1 : int(found - m_ids.begin());
}

QString TRecordItems::captionAt(int row) const {
    const qsizetype start = row == 0 ? 0 : m_ends.at(std::size_t(row) - 1);
    return m_text.mid(start, m_ends.at(std::size_t(row)) - start);
}

void TRecordItems::reserve(int count, qsizetype characters) {
    m_text.reserve(characters);
    m_ends.reserve(std::size_t(count));
    m_ids.reserve(std::size_t(count));
}

void TRecordItems::squeeze() {
    // Only room worth a copy of the whole list.
    if (m_text.capacity() > m_text.size() + m_text.size() / 4)
        m_text.squeeze();
    if (m_ids.capacity() > m_ids.size() + m_ids.size() / 4) {
        m_ends.shrink_to_fit();
        m_ids.shrink_to_fit();
    }
}

void TRecordListModel::setItems(TRecordItems items) {
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

void TRecordListModel::setHeader(const QString& header) {
    m_header = header;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

int TRecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TRecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return captionAt(index.row());
    if (role == Qt::UserRole)
        return idAt(index.row());
    return {};
}

QVariant TRecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_header;
    return {};
}
