#include "diaryimport.h"

#include "context/programcontext.h"
#include "context/windowhost.h"
#include "formdiar.h"
#include "platform/clock.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"

using namespace Qt::Literals::StringLiterals;

TDiaryImport::TDiaryImport(Tformdiar& window, const QString& file)
    : TImportRun(window, Str::ImportEntriesProgress), m_file(file) {}

TDiaryImport::~TDiaryImport() = default;

void TDiaryImport::open() {
    OpenForReading(m_file);
    m_lines = std::make_unique<TLineReader>(m_file);
    m_reader = std::make_unique<TICalendarReader>(m_window.context().clock.now());
    TSQLiteDatabase& db = openDatabase();
    beginTransaction();
    m_insert = std::make_unique<TSQLitePrepared>(
        db, u"INSERT INTO "_s + SqlName(m_window.module().table) +
                u"(datum,avizo,alarm,predmet,obsah,viditelnost) VALUES(?1,?2,?3,?4,?5,1)"_s);
}

bool TDiaryImport::step() {
    if (!m_read) {
        // The file first, a line at a step.
        QByteArrayView line;
        if (m_lines->next(line))
            m_reader->add(line);
        else
            m_read = m_reader->finish();
        return true;
    }
    if (m_next >= m_read->events.size())
        return false;
    const TDiaryEvent& event = m_read->events[m_next++];
    bool lostSubject = false, lostText = false;
    m_insert->BindText(1, event.start.toString(u"yyyy-MM-dd"_s).toLatin1());
    m_insert->BindText(2, event.start.toString(u"yyyy-MM-dd HH:mm:ss"_s).toLatin1());
    m_insert->BindText(3, event.alarm ? "1" : "0");
    m_insert->BindText(4, Cp1250::encode(event.subject, &lostSubject));
    // Lines end as the diary's own texts end theirs.
    QString text = event.text;
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\n', u"\r\n"_s);
    m_insert->BindText(5, Cp1250::encode(text, &lostText));
    m_insert->Run();
    m_lost += lostSubject + lostText;
    ++m_imported;
    return true;
}

void TDiaryImport::release() {
    m_insert.reset();
    m_file.close();
}

int TDiaryImport::progress() const {
    // Reading is the first half, storing the second.
    if (!m_read)
        return m_file.size() > 0 ? int(m_lines->consumed() * 500 / m_file.size()) : 0;
    return 500 + int(m_next * 500 / std::max<qsizetype>(1, m_read->events.size()));
}

QString TDiaryImport::faultText(const TFormatError& fault) const {
    return FormatFaultMessage(m_window.context().strings, m_file.fileName(), fault);
}

QString TDiaryImport::doneText() const {
    const TLanguageTable& s = m_window.context().strings;
    QString said = s[Str::ImportDone] + u": "_s + QString::number(m_imported);
    if (m_lost > 0)
        said += u'\n' + s[Str::ImportLostCharacters].arg(m_lost);
    if (m_read->recurring > 0)
        said += u'\n' + s[Str::RecurringImported].arg(m_read->recurring);
    if (!m_read->skipped.isEmpty())
        said += u'\n' + s[Str::SkippedComponents].arg(CountedNames(m_read->skipped));
    return said;
}

void TDiaryImport::afterDone() {
    // An entry that rings may now be the next.
    if (IReminders* reminders = m_window.context().reminders)
        reminders->Najdizaznam();
}
