#include "contactimport.h"

#include "contactfields.h"
#include "context/errortexts.h"
#include "context/programcontext.h"
#include "exchange/csvtable.h"
#include "formadresar.h"
#include "platform/clock.h"
#include "storage/datetimetext.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"

#include <QDir>

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
    : TImportRun(window, Str::ImportProgress), m_state(state), m_file(state.fileName),
      m_makeSource(std::move(source)) {}

TContactImport::~TContactImport() = default;

void TContactImport::open() {
    TProgramContext& context = m_window.context();
    OpenForReading(m_file);
    if (m_makeSource)
        m_source = m_makeSource(m_file);
    else
        m_reader = std::make_unique<TLineReader>(m_file, m_state.encoding);
    TSQLiteDatabase& db = openDatabase();
    // Attached before the transaction begins, so that it holds both files.
    if (m_source && m_state.addBirthdays)
        db.Attach(context.modules.narodky.file, u"narodeniny"_s);
    beginTransaction();
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
}

bool TContactImport::step() {
    return m_source ? sourceStep() : lineStep();
}

bool TContactImport::sourceStep() {
    if (!m_source->next(m_contact))
        return false;
    for (int field = 0; field < 24; ++field) {
        bool lost = false;
        Cp1250::encodeInto(m_contact.fields[field], m_converted[field], &lost);
        m_lostValues += lost;
        m_insert->BindText(field + 1, m_converted[field], TSQLitePrepared::Kept);
    }
    if (m_contact.birthday.isValid() && !(m_insertBirthday && addBirthday(m_contact)))
        m_contact.leftOut.append(m_source->birthdayName());
    for (const QString& name : std::as_const(m_contact.leftOut))
        ++m_leftOut[name];
    m_insert->Run();
    ++m_imported;
    return true;
}

bool TContactImport::lineStep() {
    QByteArrayView line;
    if (!m_reader->next(line))
        return false;
    ++m_line;
    // A file changed into no text since it was chosen.
    if (line.contains('\0'))
        throw Exception(NotTextMessage(m_window.context().strings, m_state.fileName));
    if (m_line == 1 && m_state.utf8() && line.startsWith(kUtf8Bom))
        line = line.sliced(kUtf8Bom.size());
    SplitImportLine(line, m_state.separator, m_columns);
    for (int field = 0; field < 24; ++field) {
        const int column = m_state.map[field];
        QByteArrayView value = CleanImportValue(
            column > 0 && column < m_columns.size() ? m_columns[column] : QByteArrayView());
        if (m_state.utf8()) {
            bool lost = false;
            Cp1250::encodeInto(QString::fromUtf8(value), m_converted[field], &lost);
            value = m_converted[field];
            m_lostValues += lost;
        }
        // The line stays in the reader until the insert has run.
        m_insert->BindText(field + 1, value, TSQLitePrepared::Kept);
    }
    m_insert->Run();
    ++m_imported;
    return true;
}

void TContactImport::release() {
    m_insert.reset();
    m_insertBirthday.reset();
    m_file.close();
}

int TContactImport::progress() const {
    const qint64 size = m_file.size();
    return size > 0 ? int((m_source ? m_source->consumed() : m_reader->consumed()) * 1000 / size)
                    : 0;
}

QString TContactImport::failureText(const Exception& e) const {
    const TLanguageTable& s = m_window.context().strings;
    return s[Str::ImportStopped].arg(m_line).arg(ErrorText(e, s));
}

QString TContactImport::faultText(const TFormatError& fault) const {
    return FormatFaultMessage(m_window.context().strings, m_state.fileName, fault);
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

QString TContactImport::doneText() const {
    const TLanguageTable& s = m_window.context().strings;
    QString said = s[Str::ImportDone] + u": "_s + QString::number(m_imported);
    if (m_lostValues > 0)
        said += u'\n' + s[Str::ImportLostCharacters].arg(m_lostValues);
    if (m_birthdaysAdded > 0)
        said += u'\n' + s[Str::BirthdaysAdded].arg(m_birthdaysAdded);
    if (m_birthdaysKnown > 0)
        said += u'\n' + s[Str::BirthdaysKnown].arg(m_birthdaysKnown);
    if (!m_leftOut.isEmpty())
        said += u'\n' + s[Str::ImportLeftOut].arg(CountedNames(m_leftOut));
    return said;
}
