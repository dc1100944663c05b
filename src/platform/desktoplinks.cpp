#include "desktoplinks.h"

#include <QProcess>

using namespace Qt::Literals::StringLiterals;

void TXdgDesktopLinks::open(const QUrl& url, std::function<void(bool opened)> done) {
    auto* process = new QProcess(this);
    process->setProgram(u"xdg-open"_s);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    // The link opens in a program of its own, so xdg-open's output means
    // nothing here.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto answered = std::make_shared<bool>(false);
    const auto answer = [process, done, answered](bool opened) {
        if (std::exchange(*answered, true))
            return;
        process->deleteLater();
        if (done)
            done(opened);
    };
    connect(process, &QProcess::finished, this, [answer](int code, QProcess::ExitStatus status) {
        answer(status == QProcess::NormalExit && code == 0);
    });
    connect(process, &QProcess::errorOccurred, this, [answer](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            answer(false);
    });
    process->start();
}
