#pragma once

#include "context/captions.h"

#include "formbuilder.h"
#include "listwindow.h"

#include <QWidget>
#include <optional>
#include <variant>

class QPushButton;
class QVBoxLayout;
class TSQLiteDatabase;
class TSQLiteTable;

// An editor of one record, in one of three modes fixed when it opens: a new
// record (saved into the group that is current at the save), a change of
// the record it was opened for (its table and id are kept), or a record to
// read, which cannot be saved. It is a window of its own, owned by its
// record window, to which it hands the activation back when it closes.
// Enter in a one-line field or Ctrl+S saves; Esc, the cancel button or the
// window's close button close it, asking first when the text was changed.
// In read mode the fields can be read and copied, not typed in.
class TRecordEditor : public QWidget, public ITranslatable {
    Q_OBJECT
public:
    using Mode = TListWindow::EditorMode;

    TRecordEditor(TListWindow& window, Mode mode, qint64 id, const QString& objectName,
                  std::span<const TFormField> fields);

    Mode mode() const { return m_mode; }
    TForm& form() { return *m_form; }
    // Saves, and closes once the record is stored.
    void ulozitClick();
    // Applies the current language table: the captions, then the title.
    void Aplikujjazyk() override;
    // Room for a line of some 80 characters, and for 20 lines of a text.
    QSize sizeHint() const override;

protected:
    // Reads the record in change and read mode and gives it to fill, then
    // sets the texts and the focus. The kind's constructor ends with it.
    void open();
    // Puts a control of the kind's own under the form's fields (the
    // diary's day, time and reminder); Enter in its date and time fields saves.
    void addControl(QWidget* control);
    // Puts the record's values into the form; the record is read for both
    // change and read mode.
    virtual void fill(const TSQLiteTable& record) = 0;
    // Checks what was typed and stores it. False when a check refused it
    // (and said why); a database error throws.
    virtual bool Uloz() = 0;
    // Runs after the record is stored and the view file written.
    virtual void afterSave() {}
    // Whether what the editor shows differs from what it opened with.
    virtual bool isModified() const;
    // What the title names in change and read mode (the subject, say).
    void setRecordTitle(const QString& text) { m_recordTitle = text; }
    // Whether a save inserts: a new record not stored yet, or a changed one
    // whose record is gone, which the user chose to save as a new one. Once
    // stored, a save that has to be repeated (its view file could not be
    // written) updates the record instead of inserting it again.
    bool inserting() const { return (m_mode == Mode::Insert || m_asNew) && m_id == 0; }
    // Stores a change into exactly the record the editor opened, in one transaction with the check
    // that it is still the record the editor read. False when it is gone, or its id names another
    // record, or another editor changed it meanwhile: then nothing is
    // written, and the save asks whether to store the text as a new record.
    // The columns a save writes, each with its value, bound to the statement.
    using Fields = QList<std::pair<QString, std::variant<qint64, QString>>>;
    bool storeChange(TSQLiteDatabase& db, const Fields& fields);
    // Stores a new record into targetTable(); it is the editor's from now on.
    void storeNew(TSQLiteDatabase& db, const Fields& fields);
    // The record the insert on `db` made into `table` is the editor's from now on.
    void recordInserted(TSQLiteDatabase& db, const QString& table);
    // The table a save writes to: the current group for a new record, the
    // record's own group for a change.
    QString targetTable() const;
    qint64 recordId() const { return m_id; }

    void closeEvent(QCloseEvent* event) override;

    TListWindow& m_window;
    TProgramContext& m_context;
    QPushButton* ulozit;
    QPushButton* zrusit;

private:
    // The record as stored, apart from the marks the program itself sets
    // (bin, alarm); nullopt when the record is gone.
    std::optional<QByteArray> storedRecord(TSQLiteDatabase& db) const;
    bool saveAsNew();

    const Mode m_mode;
    QString m_table;
    qint64 m_id;
    std::optional<QByteArray> m_stored;
    bool m_gone = false;
    bool m_asNew = false;
    TForm* m_form;
    QVBoxLayout* m_layout;
    QString m_recordTitle;
    // The texts as the editor opened, and whether the record was saved.
    QStringList m_opened;
    bool m_saved = false;
};
