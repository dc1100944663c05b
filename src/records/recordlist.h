#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <vector>

// The items of a record list: a caption and the record's id each. Filled
// whole by every refresh.
class TRecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setItems(QStringList captions, std::vector<qint64> ids);
    qint64 idAt(int row) const { return m_ids.at(std::size_t(row)); }
    int count() const { return int(m_ids.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList m_captions;
    std::vector<qint64> m_ids;
};
