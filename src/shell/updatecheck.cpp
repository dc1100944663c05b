#include "updatecheck.h"

#include "context/programcontext.h"
#include "platform/dialogs.h"
#include "platform/qtdialogs.h"
#include "storage/linefile.h"
#include "version.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

// A version file is three short lines; anything longer is no version file.
constexpr qint64 kMostVersionBytes = 64 * 1024;

void say(const QString& text) {
    std::fprintf(stderr, "velmorand: update: %s\n", qPrintable(text));
}

// Failures that mean the computer is not on a network.
bool offline(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

QNetworkRequest request(const QUrl& url, int timeoutMs) {
    QNetworkRequest request(url);
    // A redirect may lead on over https, never back to http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    return request;
}

} // namespace

// ---- the version file ------------------------------------------------------

bool TVersionFile::IsSafeFileName(const QString& name) {
    if (name.isEmpty() || name.size() > 255 || name.startsWith(u'.'))
        return false;
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    return true;
}

TVersionFile TVersionFile::Parse(const QByteArray& bytes) {
    TVersionFile file;
    if (bytes.contains('\0'))
        return file;
    const QStringList lines = LineFile::split(bytes);
    if (lines.size() < 3)
        return file;
    file.version = lines[0].trimmed();
    file.url = lines[1].trimmed();
    file.fileName = lines[2].trimmed();
    static const QRegularExpression kVersion(u"^\\d{1,6}(\\.\\d{1,6}){0,3}$"_s);
    if (!kVersion.match(file.version).hasMatch())
        return file;
    const QUrl url(file.url, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"https" || url.host().isEmpty())
        file.verdict = Verdict::Insecure;
    else if (!IsSafeFileName(file.fileName))
        file.verdict = Verdict::BadName;
    else
        file.verdict = Verdict::Usable;
    return file;
}

// ---- the check -------------------------------------------------------------

TUpdateCheck::TUpdateCheck(TProgramContext& context, QWidget* owner)
    : QObject(owner), m_context(context), m_owner(owner),
      m_network(new QNetworkAccessManager(this)) {}

TUpdateCheck::~TUpdateCheck() {
    // Ended with the program: nothing more is said or written.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    delete m_file;
}

QString TUpdateCheck::VersionUrl() {
    const QString url = qEnvironmentVariable("VELMORAND_UPDATE_URL");
    return url.isEmpty() ? QStringLiteral(VELMORAND_UPDATE_URL) : url;
}

QString TUpdateCheck::OwnVersion() {
    return QString::fromLatin1(kVelmorandVersion);
}

void TUpdateCheck::setTimeouts(int versionMs, int downloadMs, int versionDeadlineMs) {
    m_versionTimeout = versionMs;
    m_downloadTimeout = downloadMs;
    m_versionDeadline = versionDeadlineMs;
}

void TUpdateCheck::Kontrolujupdate() {
    fetch(false);
}

void TUpdateCheck::hladatupdateClick() {
    fetch(true);
}

bool TUpdateCheck::notOnline() const {
    // The system's word where it has one; a server on this machine needs
    // no network at all.
    const QUrl url(VersionUrl());
    if (QHostAddress(url.host()).isLoopback() || url.host() == u"localhost")
        return false;
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation* information = QNetworkInformation::instance();
    return information &&
           information->reachability() == QNetworkInformation::Reachability::Disconnected;
}

void TUpdateCheck::box(Str caption, const QString& text) {
    m_context.dialogs.messageBox(nullptr, m_context.strings[caption], text,
                                 IDialogs::Icon::Information);
}

void TUpdateCheck::end() {
    CloseProgress(m_progress);
    emit finished();
}

void TUpdateCheck::showProgress(Str text) {
    m_progress =
        new QProgressDialog(m_context.strings[text], m_context.strings[Str::Cancel], 0, 0, m_owner);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setWindowTitle(u"Velmorand"_s);
    m_progress->setMinimumDuration(300);
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_cancelled = true;
        if (m_reply)
            m_reply->abort();
    });
}

void TUpdateCheck::fetch(bool manual) {
    if (m_reply) {
        // One check at a time: the button asked while the check at start
        // runs takes that one over, outcome and all.
        if (manual && !m_manual) {
            m_manual = true;
            showProgress(Str::LookingForUpdate);
        }
        return;
    }
    m_manual = manual;
    const TLanguageTable& s = m_context.strings;
    if (notOnline()) {
        if (manual)
            box(Str::Warning, s[Str::NotOnline] + u"\r\n"_s + s[Str::GoOnline]);
        end();
        return;
    }
    const QUrl url(VersionUrl());
    if (url.scheme() != u"https") {
        say(u"the version file's address is not https: "_s + url.toString());
        if (manual)
            box(Str::Warning, s[Str::UpdateInfoFailed]);
        end();
        return;
    }
    m_cancelled = false;
    m_reply = m_network->get(request(url, m_versionTimeout));
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > kMostVersionBytes && m_reply)
            m_reply->abort();
    });
    // A server that sends a byte now and then is never idle for long: the
    // whole file has its deadline too.
    QTimer::singleShot(m_versionDeadline, m_reply, &QNetworkReply::abort);
    connect(m_reply, &QNetworkReply::finished, this, [this] { versionArrived(m_manual); });
    if (manual)
        showProgress(Str::LookingForUpdate);
}

void TUpdateCheck::versionArrived(bool manual) {
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    CloseProgress(m_progress);
    const TLanguageTable& s = m_context.strings;
    const auto failed = [&](const QString& why, Str text, const QString& argument = QString()) {
        say(why);
        if (manual)
            box(Str::Warning, argument.isNull() ? s[text] : s[text].arg(argument));
        end();
    };
    if (reply->error() != QNetworkReply::NoError) {
        if (m_cancelled) {
            end();
            return;
        }
        if (offline(reply->error())) {
            say(reply->errorString());
            if (manual)
                box(Str::Warning, s[Str::NotOnline] + u"\r\n"_s + s[Str::GoOnline]);
            return end();
        }
        return failed(reply->errorString(), Str::UpdateInfoFailed);
    }
    // The size is checked on what arrived: a file that came in one piece
    // was never seen growing.
    const QByteArray bytes = reply->read(kMostVersionBytes + 1);
    if (bytes.size() > kMostVersionBytes)
        return failed(u"the version file is too long"_s, Str::UpdateInfoFailed);
    const TVersionFile version = TVersionFile::Parse(bytes);
    if (version.verdict == TVersionFile::Verdict::Damaged)
        return failed(u"the version file is damaged"_s, Str::UpdateInfoFailed);
    if (version.version == OwnVersion()) {
        if (manual)
            box(Str::SearchResult, s[Str::NoNewerVersion]);
        end();
        return;
    }
    if (version.verdict == TVersionFile::Verdict::Insecure)
        return failed(u"the program's address is not https: "_s + version.url, Str::UpdateInsecure,
                      version.url);
    if (version.verdict == TVersionFile::Verdict::BadName)
        return failed(u"the file name is not allowed: "_s + version.fileName, Str::UpdateBadName,
                      version.fileName);
    offer(version);
}

void TUpdateCheck::offer(const TVersionFile& version) {
    const TLanguageTable& s = m_context.strings;
    if (m_context.dialogs.messageBox(nullptr, s[Str::SearchResult], s[Str::NewerVersionFound],
                                     IDialogs::Icon::Question,
                                     IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return end();
    // The filter names programs of any kind: this system marks none by a
    // suffix.
    QString label = s[Str::ProgramFilter];
    if (const qsizetype bracket = label.indexOf(u" ("_s); bracket >= 0)
        label.truncate(bracket);
    const QString chosen = m_context.dialogs.saveFileName(m_owner, s[Str::SaveNewVersion],
                                                          label + u" (*)"_s, version.fileName);
    if (chosen.isEmpty())
        return end();
    // The chosen name picks the folder; the file takes the version file's name.
    const QString folder = QFileInfo(chosen).absolutePath();
    const QString target = folder + u'/' + version.fileName;
    if (QFileInfo::exists(target) &&
        m_context.dialogs.messageBox(nullptr, s[Str::SaveNewVersion],
                                     s[Str::ReplaceFile].arg(QDir::toNativeSeparators(target)),
                                     IDialogs::Icon::Question,
                                     IDialogs::Buttons::NoYes) != IDialogs::Answer::Yes)
        return end();
    download(version, target);
}

void TUpdateCheck::download(const TVersionFile& version, const QString& target) {
    delete m_file;
    m_file = new QSaveFile(target);
    if (!m_file->open(QIODevice::WriteOnly)) {
        say(u"cannot write "_s + target + u": "_s + m_file->errorString());
        box(Str::Warning, m_context.strings[Str::DownloadFailed]);
        return end();
    }
    m_cancelled = false;
    m_reply = m_network->get(request(QUrl(version.url), m_downloadTimeout));
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        const QByteArray bytes = m_reply->readAll();
        if (m_file->write(bytes) != bytes.size())
            m_reply->abort();
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_progress && total > 0) {
            m_progress->setMaximum(int(total / 1024));
            m_progress->setValue(int(received / 1024));
        }
    });
    const QString folder = QFileInfo(target).absolutePath();
    connect(m_reply, &QNetworkReply::finished, this, [this, folder] { downloadEnded(folder); });
    showProgress(Str::Downloading);
}

void TUpdateCheck::downloadEnded(const QString& folder) {
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const TLanguageTable& s = m_context.strings;
    if (reply->error() == QNetworkReply::NoError)
        m_file->write(reply->readAll());
    const bool ok = reply->error() == QNetworkReply::NoError && m_file->commit();
    if (!ok) {
        m_file->cancelWriting();
        say(reply->error() != QNetworkReply::NoError ? reply->errorString()
                                                     : m_file->errorString());
    }
    delete m_file;
    m_file = nullptr;
    CloseProgress(m_progress);
    if (ok)
        m_context.dialogs.messageBox(nullptr, s[Str::DownloadDone],
                                     s[Str::NewVersionSaved] + u' ' +
                                         QDir::toNativeSeparators(folder),
                                     IDialogs::Icon::Information);
    else if (!m_cancelled)
        box(Str::Warning, s[Str::DownloadFailed]);
    end();
}
