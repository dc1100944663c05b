#include "recordlist.h"

void TRecordListModel::setItems(QStringList captions, std::vector<qint64> ids) {
    beginResetModel();
    m_captions = std::move(captions);
    m_ids = std::move(ids);
    endResetModel();
}

int TRecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TRecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return m_captions.at(index.row());
    if (role == Qt::UserRole)
        return m_ids.at(std::size_t(index.row()));
    return {};
}
