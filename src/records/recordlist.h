#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

// The items of a record list as they are read: a caption and the record's
// id each. All captions share one text, so that a list of 100,000 items
// costs little more than its characters.
class TRecordItems {
public:
    void append(qint64 id, QStringView caption);
    int count() const { return int(m_ids.size()); }
    qint64 idAt(int row) const { return m_ids.at(std::size_t(row)); }
    // The row of the record, -1 when it is not listed.
    int rowOf(qint64 id) const;
    QString captionAt(int row) const;
    // Gives back the room that appending reserved ahead.
    void squeeze();
    // Room ahead for so many items with so many characters in all.
    void reserve(int count, qsizetype characters);
    qsizetype characters() const { return m_text.size(); }

private:
    QString m_text;
    std::vector<qsizetype> m_ends;
    std::vector<qint64> m_ids;
};

// The model of a record list, filled whole by every refresh.
class TRecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setItems(TRecordItems items);
    void clear() { setItems(TRecordItems()); }
    qint64 idAt(int row) const { return m_items.idAt(row); }
    int rowOf(qint64 id) const { return m_items.rowOf(id); }
    int count() const { return m_items.count(); }
    QString captionAt(int row) const { return m_items.captionAt(row); }
    const TRecordItems& items() const { return m_items; }
    // The caption of the list's one column, shown where the list has a header.
    void setHeader(const QString& header);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TRecordItems m_items;
    QString m_header;
};
