#include "importrun.h"

#include "context/errortexts.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "exchange/formaterror.h"
#include "listwindow.h"
#include "platform/dialogs.h"
#include "platform/qtdialogs.h"
#include "storage/sqlite.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

TImportRun::TImportRun(TListWindow& window, Str progress)
    : QObject(&window), m_window(window), m_progressText(progress) {}

TImportRun::~TImportRun() = default;

void TImportRun::start() {
    const TLanguageTable& s = m_window.context().strings;
    // Shown when the import takes more than a moment; its window waits, the
    // other windows, the timer and the alarm go on.
    m_progress = new QProgressDialog(s[m_progressText], s[Str::Cancel], 0, 1000, &m_window);
    m_progress->setObjectName(u"importprogress"_s);
    m_progress->setWindowTitle(s[Str::Import]);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(500);
    m_progress->setAutoReset(false);
    m_progress->setAutoClose(false);
    connect(m_progress, &QProgressDialog::canceled, this, &TImportRun::cancel);
    try {
        open();
    } catch (const Exception& e) {
        end(Outcome::Failed, ErrorText(e, s));
        return;
    }
    QTimer::singleShot(0, this, &TImportRun::slice);
}

TSQLiteDatabase& TImportRun::openDatabase() {
    m_db = std::make_unique<TSQLiteDatabase>(m_window.module().file);
    return *m_db;
}

void TImportRun::beginTransaction() {
    m_transaction = std::make_unique<TSQLiteTransaction>(*m_db, TSQLiteTransaction::Span::Long);
}

QString TImportRun::failureText(const Exception& e) const {
    return ErrorText(e, m_window.context().strings);
}

void TImportRun::slice() {
    if (m_ended)
        return;
    if (m_cancelled) {
        end(Outcome::Cancelled);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    bool stored = false;
    try {
        // About a fiftieth of a second of work, then the event loop.
        while (!stored && clock.elapsed() < 20)
            for (int n = 0; n < 256 && !stored; ++n)
                if (!step()) {
                    m_transaction->Commit();
                    stored = true;
                }
    } catch (const Exception& e) {
        end(Outcome::Failed, failureText(e));
        return;
    } catch (const TFormatError& fault) {
        end(Outcome::Failed, faultText(fault));
        return;
    }
    // The outcome is decided by the commit, once; what follows it cannot undo it.
    if (stored) {
        end(Outcome::Done);
        return;
    }
    if (m_progress)
        m_progress->setValue(progress());
    QTimer::singleShot(0, this, &TImportRun::slice);
}

void TImportRun::end(Outcome outcome, const QString& text) {
    m_ended = true;
    // Not committed: all of it goes.
    release();
    m_transaction.reset();
    m_db.reset();
    CloseProgress(m_progress);
    TProgramContext& context = m_window.context();
    const TLanguageTable& s = context.strings;
    // The list first, so that the closing box stands over what was stored.
    // One that cannot be made now is said like any failed command.
    Guarded(context.dialogs, [this] { m_window.Aktualizuj(); });
    switch (outcome) {
    case Outcome::Done:
        context.dialogs.messageBox(nullptr, s[Str::OperationDone], doneText(),
                                   IDialogs::Icon::Information);
        afterDone();
        break;
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
    emit finished(outcome, m_imported);
    deleteLater();
}

QString CountedNames(const QMap<QString, int>& counts) {
    QStringList names;
    for (auto name = counts.cbegin(); name != counts.cend(); ++name)
        names.append(name.key() + u" \u00D7"_s + QString::number(name.value()));
    return names.join(u", "_s);
}
