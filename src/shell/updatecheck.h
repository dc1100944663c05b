#pragma once

#include "language/strings.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QStringList>

class QNetworkAccessManager;
class QSaveFile;
class QWidget;
class TProgramContext;

// What a version file says: the newest version, the address of its program
// file and the name to save it under. Three lines; anything else, a first
// line that is no version, a program address that is not https or a name
// that could leave the chosen folder makes it unusable.
struct TVersionFile {
    enum class Verdict { Usable, Damaged, Insecure, BadName };
    QString version;
    QString url;
    QString fileName;
    Verdict verdict = Verdict::Damaged;

    static TVersionFile Parse(const QByteArray& bytes);
    // A name that stays in one folder: not empty, no path separator, not
    // starting with a dot, no control characters.
    static bool IsSafeFileName(const QString& name);
};

// The check for a newer version, at start (silent unless one is found) and
// from the settings page's button (every outcome said). Everything runs
// asynchronously over HTTPS with checked certificates: start-up never waits
// for the network, and the windows keep working. The program file is
// written through a QSaveFile, so a failed or cancelled download leaves
// nothing behind.
class TUpdateCheck : public QObject {
    Q_OBJECT
public:
    TUpdateCheck(TProgramContext& context, QWidget* owner);
    ~TUpdateCheck() override;

    // The version file's address: the build's, or $VELMORAND_UPDATE_URL.
    static QString VersionUrl();
    // The program's own version, from the build.
    static QString OwnVersion();

    void Kontrolujupdate();
    void hladatupdateClick();
    bool running() const { return m_reply != nullptr; }
    // Limits without progress: the version file, the program file; and the
    // time the whole version file may take.
    void setTimeouts(int versionMs, int downloadMs, int versionDeadlineMs = 30000);

signals:
    // A check or a download has ended, whatever its outcome.
    void finished();

private:
    void fetch(bool manual);
    void versionArrived(bool manual);
    void offer(const TVersionFile& version);
    void download(const TVersionFile& version, const QString& target);
    void downloadEnded(const QString& folder);
    void box(Str caption, const QString& text);
    // The progress of the manual check or the download, with its cancel.
    void showProgress(Str text);
    bool notOnline() const;
    void end();

    TProgramContext& m_context;
    QPointer<QWidget> m_owner;
    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QPointer<QProgressDialog> m_progress;
    QSaveFile* m_file = nullptr;
    bool m_cancelled = false;
    // The check running is the button's, whose every outcome is said.
    bool m_manual = false;
    int m_versionTimeout = 10000;
    int m_downloadTimeout = 60000;
    int m_versionDeadline = 30000;
};
