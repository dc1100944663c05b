#pragma once

#include "exchange/icalendar.h"
#include "exchange/textfile.h"
#include "records/importrun.h"

#include <QFile>
#include <memory>
#include <optional>

class Tformdiar;
class TSQLitePrepared;

// An iCalendar file's events into the diary's current group (see
// TImportRun): the file read line by line, then each event stored.
class TDiaryImport : public TImportRun {
    Q_OBJECT
public:
    TDiaryImport(Tformdiar& window, const QString& file);
    ~TDiaryImport() override;

protected:
    void open() override;
    bool step() override;
    void release() override;
    int progress() const override;
    QString faultText(const TFormatError& fault) const override;
    QString doneText() const override;
    void afterDone() override;

private:
    QFile m_file;
    std::unique_ptr<TLineReader> m_lines;
    std::unique_ptr<TICalendarReader> m_reader;
    // Once the file is read: its events, the next to be stored.
    std::optional<TCalendarContents> m_read;
    qsizetype m_next = 0;
    std::unique_ptr<TSQLitePrepared> m_insert;
    // Values that held characters the code page lacks, stored with "?".
    int m_lost = 0;
};
