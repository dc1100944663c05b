#include "contactimport.h"

#include "contactfields.h"
#include "context/errortexts.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "exchange/csvtable.h"
#include "formadresar.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/qtdialogs.h"
#include "storage/datetimetext.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"

#include <QDir>
#include <QProgressDialog>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

// ---- the import state ----------------------------------------------------------

void TImportState::resetMap() {
    for (int p = 0; p < kImportColumns; ++p)
        map[p] = p < columnCount ? p + 1 : 0;
    selected = 0;
}

bool TImportState::Posunhore() {
    if (selected <= 0)
        return false;
    std::swap(map[selected], map[selected - 1]);
    --selected;
    return true;
}

bool TImportState::Posundole() {
    if (selected >= columnCount - 1 || selected >= kImportColumns - 1)
        return false;
    std::swap(map[selected], map[selected + 1]);
    ++selected;
    return true;
}

bool TImportState::Pridajpole() {
    if (columnCount >= kImportColumns || selected < 0 || selected >= kImportColumns)
        return false;
    for (int p = columnCount - 1; p >= selected; --p)
        map[p + 1] = map[p];
    map[selected] = 0;
    ++columnCount;
    return true;
}

// ---- lines and values ----------------------------------------------------------

void SplitImportLine(QByteArrayView line, char separator, QList<QByteArrayView>& columns) {
    columns.resize(1);
    columns[0] = QByteArrayView();
    qsizetype start = 0;
    for (;;) {
        const qsizetype at = line.indexOf(separator, start);
        columns.append(line.sliced(start, (at < 0 ? line.size() : at) - start));
        if (at < 0 || columns.size() > kImportColumns)
            break;
        start = at + 1;
    }
}

QByteArrayView CleanImportValue(QByteArrayView value) {
    if (value == " ")
        return QByteArrayView("");
    return value.startsWith(' ') ? value.sliced(1) : value;
}

QString FirstImportLine(const QString& fileName, TextEncoding encoding) {
    QFile file(fileName);
    OpenForReading(file);
    TLineReader reader(file, encoding);
    QByteArrayView line;
    if (!reader.next(line))
        return QString();
    if (encoding == TextEncoding::Cp1250)
        return Cp1250::decode(line);
    if (line.startsWith(kUtf8Bom))
        line = line.sliced(kUtf8Bom.size());
    return QString::fromUtf8(line);
}

QString NotTextMessage(const TLanguageTable& strings, const QString& fileName) {
    return strings[Str::ImportNotText].arg(QDir::toNativeSeparators(fileName));
}

// ---- the import ----------------------------------------------------------------

// ---- other programs' files ------------------------------------------------------

namespace {

class TVCardSource : public TContactSource {
public:
    TVCardSource(QIODevice& file, TextEncoding encoding) : m_reader(file, encoding) {}
    bool next(TCardContact& contact) override { return m_reader.next(contact); }
    qint64 consumed() const override { return m_reader.consumed(); }
    QString birthdayName() const override { return u"BDAY"_s; }

private:
    TVCardReader m_reader;
};

class TTableSource : public TContactSource {
public:
    TTableSource(QIODevice& file, TextEncoding encoding, char separator, QList<int> map,
                 bool headerRow, const QString& birthdayName)
        : m_reader(file, encoding, separator), m_map(std::move(map)), m_skip(headerRow),
          m_birthdayName(birthdayName) {}
    bool next(TCardContact& contact) override {
        QStringList row;
        if (m_skip) {
            m_skip = false;
            if (!m_reader.next(row))
                return false;
        }
        if (!m_reader.next(row))
            return false;
        contact = TCardContact();
        contact.line = m_reader.line();
        for (qsizetype column = 0; column < row.size() && column < m_map.size(); ++column) {
            const int field = m_map[column];
            if (field >= 0 && field < 24) {
                contact.fields[field] = row[column].trimmed();
            } else if (field == kBirthdayColumn && contact.birthday.isNull()) {
                contact.birthday = DateOfBirth(row[column]);
                // An empty date is also written as 0/0/00.
                const bool empty = std::none_of(row[column].begin(), row[column].end(),
                                                [](QChar c) { return c >= u'1' && c <= u'9'; });
                if (!contact.birthday.isValid() && !empty)
                    contact.leftOut.append(m_birthdayName);
            }
        }
        return true;
    }
    qint64 consumed() const override { return m_reader.consumed(); }
    QString birthdayName() const override { return m_birthdayName; }

private:
    TCsvReader m_reader;
    const QList<int> m_map;
    bool m_skip;
    const QString m_birthdayName;
};

} // namespace

TSourceMaker VCardSource(TextEncoding encoding) {
    return [encoding](QIODevice& file) { return std::make_unique<TVCardSource>(file, encoding); };
}

TSourceMaker TableSource(TextEncoding encoding, char separator, QList<int> map, bool headerRow,
                         const QString& birthdayName) {
    return [=](QIODevice& file) {
        return std::make_unique<TTableSource>(file, encoding, separator, map, headerRow,
                                              birthdayName);
    };
}

// ---- the import ----------------------------------------------------------------

TContactImport::TContactImport(TFormadresar& window, const TImportState& state, TSourceMaker source)
    : QObject(&window), m_window(window), m_state(state), m_file(state.fileName),
      m_makeSource(std::move(source)) {}

TContactImport::~TContactImport() = default;

void TContactImport::start() {
    TProgramContext& context = m_window.context();
    const TLanguageTable& s = context.strings;
    // Shown when the import takes more than a moment; the address book
    // waits, the other windows, the timer and the alarm go on.
    m_progress = new QProgressDialog(s[Str::ImportProgress], s[Str::Cancel], 0, 1000, &m_window);
    m_progress->setObjectName(u"importprogress"_s);
    m_progress->setWindowTitle(s[Str::Import]);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(500);
    m_progress->setAutoReset(false);
    m_progress->setAutoClose(false);
    connect(m_progress, &QProgressDialog::canceled, this, &TContactImport::cancel);
    try {
        OpenForReading(m_file);
        if (m_makeSource)
            m_source = m_makeSource(m_file);
        else
            m_reader = std::make_unique<TLineReader>(m_file, m_state.encoding);
        m_db = std::make_unique<TSQLiteDatabase>(m_window.module().file);
        // Attached before the transaction begins, so that it holds both files.
        if (m_source && m_state.addBirthdays)
            m_db->Attach(context.modules.narodky.file, u"narodeniny"_s);
        m_transaction = std::make_unique<TSQLiteTransaction>(*m_db, TSQLiteTransaction::Span::Long);
        if (m_source && m_state.addBirthdays)
            openBirthdays();
        QString columns, values;
        for (int field = 0; field < 24; ++field) {
            columns += QLatin1StringView(kContactFields[field].name) + u',';
            values += u'?' + QString::number(field + 1) + u',';
        }
        m_insert = std::make_unique<TSQLitePrepared>(
            *m_db, u"INSERT INTO "_s + SqlName(m_window.module().table) + u'(' + columns +
                       u"viditelnost) VALUES("_s + values + u"1);"_s);
        QByteArrayView header;
        if (m_reader && m_state.skipHeader && m_reader->next(header))
            ++m_line;
    } catch (const Exception& e) {
        end(Outcome::Failed, ErrorText(e, s));
        return;
    }
    QTimer::singleShot(0, this, &TContactImport::slice);
}

void TContactImport::slice() {
    if (m_ended)
        return;
    if (m_cancelled) {
        end(Outcome::Cancelled);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    QByteArrayView line;
    QList<QByteArrayView> columns;
    // A UTF-8 file's values in the files' code page, alive until the insert ran.
    std::array<QByteArray, 24> converted;
    bool stored = false;
    try {
        // About a fiftieth of a second of lines, then the event loop.
        while (!stored && clock.elapsed() < 20) {
            for (int n = 0; n < 256; ++n) {
                if (m_source) {
                    TCardContact contact;
                    if (!m_source->next(contact)) {
                        m_transaction->Commit();
                        stored = true;
                        break;
                    }
                    for (int field = 0; field < 24; ++field) {
                        bool lost = false;
                        Cp1250::encodeInto(contact.fields[field], converted[field], &lost);
                        m_lostValues += lost;
                        m_insert->BindText(field + 1, converted[field], TSQLitePrepared::Kept);
                    }
                    if (contact.birthday.isValid() && !(m_insertBirthday && addBirthday(contact)))
                        contact.leftOut.append(m_source->birthdayName());
                    for (const QString& name : std::as_const(contact.leftOut))
                        ++m_leftOut[name];
                    m_insert->Run();
                    ++m_imported;
                    continue;
                }
                if (!m_reader->next(line)) {
                    m_transaction->Commit();
                    stored = true;
                    break;
                }
                ++m_line;
                // A file changed into no text since it was chosen.
                if (line.contains('\0'))
                    throw Exception(NotTextMessage(m_window.context().strings, m_state.fileName));
                if (m_line == 1 && m_state.utf8() && line.startsWith(kUtf8Bom))
                    line = line.sliced(kUtf8Bom.size());
                SplitImportLine(line, m_state.separator, columns);
                for (int field = 0; field < 24; ++field) {
                    const int column = m_state.map[field];
                    QByteArrayView value = CleanImportValue(
                        column > 0 && column < columns.size() ? columns[column] : QByteArrayView());
                    if (m_state.utf8()) {
                        bool lost = false;
                        Cp1250::encodeInto(QString::fromUtf8(value), converted[field], &lost);
                        value = converted[field];
                        m_lostValues += lost;
                    }
                    // The line stays in the reader until the insert has run.
                    m_insert->BindText(field + 1, value, TSQLitePrepared::Kept);
                }
                m_insert->Run();
                ++m_imported;
            }
        }
    } catch (const Exception& e) {
        const TLanguageTable& s = m_window.context().strings;
        end(Outcome::Failed, s[Str::ImportStopped].arg(m_line).arg(ErrorText(e, s)));
        return;
    } catch (const TFormatError& fault) {
        end(Outcome::Failed,
            FormatFaultMessage(m_window.context().strings, m_state.fileName, fault));
        return;
    }
    // The outcome is decided by the commit, once; what follows it cannot undo it.
    if (stored) {
        end(Outcome::Done);
        return;
    }
    if (m_progress && m_file.size() > 0)
        m_progress->setValue(
            int((m_source ? m_source->consumed() : m_reader->consumed()) * 1000 / m_file.size()));
    QTimer::singleShot(0, this, &TContactImport::slice);
}

void TContactImport::openBirthdays() {
    m_insertBirthday = std::make_unique<TSQLitePrepared>(
        *m_db, u"INSERT INTO narodeniny.narodky(meno,poradie,narodenie,viditelnost) "_s
               u"VALUES(?1,?2,?3,1)"_s);
    m_db->QueryEach(u"SELECT meno, narodenie FROM narodeniny.narodky WHERE viditelnost=1"_s,
                    [this](const TSQLiteRow& row) {
                        m_knownBirthdays.insert(row.CellBytes(0).toByteArray() + '\n' +
                                                row.CellBytes(1).toByteArray());
                    });
}

bool TContactImport::addBirthday(const TCardContact& contact) {
    TProgramContext& context = m_window.context();
    const QString name =
        (contact.fields[0].trimmed() + u' ' + contact.fields[1].trimmed()).trimmed();
    // The birthdays list takes no date to come, as its window does not.
    if (name.isEmpty() || contact.birthday > context.clock.now().date())
        return false;
    const QByteArray stored = Cp1250::encode(name);
    const QByteArray born =
        (SqlDateTimeText(Moment(contact.birthday), context.patterns).left(10) + u" 00:00:00"_s)
            .toLatin1();
    const QByteArray key = stored + '\n' + born;
    if (m_knownBirthdays.contains(key)) {
        ++m_birthdaysKnown;
        return true;
    }
    m_knownBirthdays.insert(key);
    m_insertBirthday->BindText(1, stored);
    m_insertBirthday->BindText(2, "2000" + born.mid(4));
    m_insertBirthday->BindText(3, born);
    m_insertBirthday->Run();
    ++m_birthdaysAdded;
    return true;
}

void TContactImport::end(Outcome outcome, const QString& text) {
    m_ended = true;
    // Not committed: all of it goes.
    m_insert.reset();
    m_insertBirthday.reset();
    m_transaction.reset();
    m_db.reset();
    m_file.close();
    CloseProgress(m_progress);
    TProgramContext& context = m_window.context();
    const TLanguageTable& s = context.strings;
    switch (outcome) {
    case Outcome::Done: {
        QString said = s[Str::ImportDone] + u": "_s + QString::number(m_imported);
        if (m_lostValues > 0)
            said += u'\n' + s[Str::ImportLostCharacters].arg(m_lostValues);
        if (m_birthdaysAdded > 0)
            said += u'\n' + s[Str::BirthdaysAdded].arg(m_birthdaysAdded);
        if (m_birthdaysKnown > 0)
            said += u'\n' + s[Str::BirthdaysKnown].arg(m_birthdaysKnown);
        if (!m_leftOut.isEmpty()) {
            QStringList names;
            for (auto name = m_leftOut.cbegin(); name != m_leftOut.cend(); ++name)
                names.append(name.key() + u" \u00D7"_s + QString::number(name.value()));
            said += u'\n' + s[Str::ImportLeftOut].arg(names.join(u", "_s));
        }
        context.dialogs.messageBox(nullptr, s[Str::OperationDone], said,
                                   IDialogs::Icon::Information);
        break;
    }
    case Outcome::Cancelled:
        m_imported = 0;
        context.dialogs.messageBox(nullptr, s[Str::Import], s[Str::ImportCancelled],
                                   IDialogs::Icon::Information);
        break;
    case Outcome::Failed:
        m_imported = 0;
        context.dialogs.errorBox(text);
        break;
    }
    // A list that cannot be made now is said like any failed command.
    Guarded(context.dialogs, [this] { m_window.Aktualizuj(); });
    emit finished(outcome, m_imported);
    deleteLater();
}
