#include "qtdialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

QMessageBox::Icon boxIcon(IDialogs::Icon icon) {
    switch (icon) {
    case IDialogs::Icon::Information:
        return QMessageBox::Information;
    case IDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case IDialogs::Icon::Critical:
        return QMessageBox::Critical;
    case IDialogs::Icon::Question:
        return QMessageBox::Question;
    case IDialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Texts come from servers, file names and the user's data too: a box shows
// them as they are, never as markup or links. A message box is as narrow as
// its text, which may cut its title short on the window manager's title bar:
// it is made wide enough for the title too (the title bar's font is the
// window manager's, so with room to spare).
void prepareBox(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    QFont font = box.font();
    font.setBold(true);
    const int width = QFontMetrics(font).horizontalAdvance(box.windowTitle()) * 6 / 5 + 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

// Runs the box until it is answered. A box hidden with the program (its
// exec ends then) waits until the program is shown again and asks again.
int execUntilAnswered(QDialog& box, const IDialogs& dialogs) {
    // The window that had the focus takes it back when the box is answered,
    // also where no window manager hands it back.
    // Right after another box, no window may be active yet: then the box's
    // owner takes the focus back.
    const QPointer<QWidget> before =
        QApplication::activeWindow() ? QApplication::activeWindow() : box.parentWidget();
    for (;;) {
        const int result = box.exec();
        if (!box.property(kHiddenWithProgram).toBool()) {
            if (before && before->isVisible())
                before->activateWindow();
            return result;
        }
        QEventLoop wait;
        struct Watch : QObject {
            QEventLoop& loop;
            explicit Watch(QEventLoop& l) : loop(l) {}
            bool eventFilter(QObject* object, QEvent* event) override {
                if (event->type() == QEvent::DynamicPropertyChange &&
                    !object->property(kHiddenWithProgram).toBool())
                    loop.quit();
                return false;
            }
        } watch(wait);
        box.installEventFilter(&watch);
        wait.exec();
        box.removeEventFilter(&watch);
        if (dialogs.unattended())
            return QMessageBox::No;
    }
}

// A text of many lines (the log of emptying the bin with fifty groups) in a
// box that scrolls, never taller than the screen allows.
constexpr qsizetype kLongText = 20;

void showLongText(QWidget* owner, const QString& caption, const QString& text, IDialogs::Icon icon,
                  const IDialogs& dialogs) {
    QDialog box(owner);
    box.setWindowTitle(caption);
    auto* symbol = new QLabel;
    const QStyle::StandardPixmap pixmaps[] = {
        QStyle::SP_CustomBase, QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
        QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxQuestion};
    if (icon != IDialogs::Icon::None) {
        const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        symbol->setPixmap(
            box.style()->standardIcon(pixmaps[int(icon)], nullptr, &box).pixmap(size));
    }
    symbol->setAlignment(Qt::AlignTop);
    auto* view = new QPlainTextEdit;
    view->setReadOnly(true);
    view->setPlainText(QString(text).replace(u"\r\n"_s, u"\n"_s).trimmed());
    const QFontMetrics metrics(view->font());
    const QRect screen =
        (owner ? owner->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    view->setMinimumSize(std::min(metrics.averageCharWidth() * 70, screen.width() * 3 / 4),
                         std::min(metrics.lineSpacing() * 24, screen.height() / 2));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QGridLayout(&box);
    layout->addWidget(symbol, 0, 0);
    layout->addWidget(view, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    execUntilAnswered(box, dialogs);
}

// File dialogs may change the working folder; every path of the program is
// relative to it, so it is put back.
class KeepWorkingFolder {
public:
    ~KeepWorkingFolder() { QDir::setCurrent(m_folder); }

private:
    QString m_folder = QDir::currentPath();
};

} // namespace

QString IDialogs::Excerpt(const QString& text, qsizetype lineLength, qsizetype lineCount) {
    if (text.size() <= lineLength && text.count(u'\n') < lineCount)
        return text;
    QString excerpt;
    qsizetype lines = 0;
    for (qsizetype start = 0;;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).sliced(start, end - start);
        if (line.size() > lineLength) {
            // Never half of a character outside the basic plane.
            line.truncate(line[lineLength - 1].isHighSurrogate() ? lineLength - 1 : lineLength);
            excerpt += line;
            excerpt += u'\u2026';
        } else {
            excerpt += line;
        }
        if (end == text.size())
            break;
        excerpt += u'\n';
        if (++lines == lineCount) {
            excerpt += u'\u2026';
            break;
        }
        start = end + 1;
    }
    return excerpt;
}

IDialogs::Answer IDialogs::messageBox(QWidget* owner, const QString& caption, const QString& text,
                                      Icon icon, Buttons buttons) {
    if (!m_unattended)
        return showMessageBox(owner, caption, Excerpt(text), icon, buttons);
    std::fprintf(stderr, "velmorand: %s: %s\n", qPrintable(caption), qPrintable(text));
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

void IDialogs::errorBox(const Exception& error) {
    if (error.fault() == EFault::Said || !m_errorTexts) {
        errorBox(error.message());
        return;
    }
    std::fprintf(stderr, "velmorand: %s\n", qPrintable(error.message()));
    if (!m_unattended)
        showErrorBox(Excerpt(m_errorTexts(error)));
}

void IDialogs::errorBox(const QString& text) {
    if (m_unattended)
        std::fprintf(stderr, "velmorand: %s\n", qPrintable(text));
    else
        showErrorBox(Excerpt(text));
}

IDialogs::Answer TQtDialogs::showMessageBox(QWidget* owner, const QString& caption,
                                            const QString& text, Icon icon, Buttons buttons) {
    const bool question = buttons != Buttons::Ok;
    if (!question && text.count(u'\n') > kLongText) {
        showLongText(owner, caption, text, icon, *this);
        return Answer::Ok;
    }
    QMessageBox box(boxIcon(icon), caption, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    prepareBox(box);
    if (question) {
        box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    const int result = execUntilAnswered(box, *this);
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void TQtDialogs::showErrorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, u"Velmorand"_s, text, QMessageBox::Ok);
    prepareBox(box);
    execUntilAnswered(box, *this);
}

QString TQtDialogs::saveFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& fileName) {
    KeepWorkingFolder keep;
    return QFileDialog::getSaveFileName(owner, title, fileName, filter);
}

QString TQtDialogs::openFileName(QWidget* owner, const QString& title, const QString& filter) {
    KeepWorkingFolder keep;
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

void CloseProgress(QProgressDialog* progress) {
    if (!progress)
        return;
    progress->reset(); // stops the timer that shows it
    progress->hide();
    progress->deleteLater();
}
