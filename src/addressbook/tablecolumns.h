#pragma once

#include "exchange/textfile.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class TLanguageTable;

// The columns of a table to import, each with the contact's field it feeds
// (or none, or the date of birth), chosen by the columns' names where the
// first row names them; the first values shown beside them. Reads the first two rows; throws
// TFormatError or an Exception when they cannot be read.
class TTableColumnsDialog : public QDialog {
    Q_OBJECT
public:
    TTableColumnsDialog(QWidget* owner, const TLanguageTable& strings, const QString& file,
                        TextEncoding encoding);

    char separator() const { return m_separator; }
    // Each column's field (0 to 23, kBirthdayColumn), -1 for none.
    QList<int> map() const;
    bool headerRow() const;
    // Whether the dates of birth of a column go into the birthdays list.
    bool addBirthdays() const;

private:
    char m_separator;
    QList<QComboBox*> m_fields;
    QCheckBox* m_header;
    QCheckBox* m_birthdays;
};

// Before a vCard file whose cards have dates of birth is imported: whether
// they go into the birthdays list too.
class TVCardImportDialog : public QDialog {
    Q_OBJECT
public:
    TVCardImportDialog(QWidget* owner, const TLanguageTable& strings, const QString& file,
                       qint64 birthdays);
    bool addBirthdays() const;

private:
    QCheckBox* m_birthdays;
};
