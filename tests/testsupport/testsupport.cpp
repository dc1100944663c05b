#include "testsupport.h"

#include "records/readingpane.h"
#include "records/recordkind.h"
#include "records/recordwindow.h"
#include "shell/formvelmorand.h"
#include "shell/recordkinds.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QTextBlock>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

IDialogs::Answer FakeDialogs::showMessageBox(QWidget*, const QString& caption, const QString& text,
                                             Icon icon, Buttons buttons) {
    boxes.append({caption, text, icon, buttons});
    if (onBox)
        onBox(boxes.last());
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

QString FakeDialogs::saveFileName(QWidget*, const QString& title, const QString&, const QString&) {
    fileDialogTitles.append(title);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString FakeDialogs::openFileName(QWidget*, const QString& title, const QString& filter) {
    fileDialogTitles.append(title);
    fileDialogFilters.append(filter);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

void FakeSoundPlayer::play(const QList<TSound>& sounds) {
    for (const TSound& sound : sounds)
        if (failing.contains(sound.file))
            throw ESoundError(
                u"Cannot play the sound \"%1\": the file does not exist"_s.arg(sound.file),
                sound.file);
    if (noDevice)
        throw ENoSoundDevice(u"no sound device: the alarm is silent"_s);
    for (const TSound& sound : sounds)
        played.append(u"%1 x%2"_s.arg(sound.file).arg(sound.times));
}

bool FakeHotKeys::registerHotKey(int id, QKeyCombination keys) {
    registered.remove(id);
    if (refuse || held.contains(keys))
        return false;
    registered.insert(id, keys);
    return true;
}

void FakeTrayArea::add(const QIcon& icon, const QString& tip) {
    m_state->calls.append(u"add "_s + tip);
    m_state->shown = !icon.isNull();
    m_state->icon = icon.cacheKey();
    m_state->tip = tip;
}

void FakeTrayArea::modify(int flags, const QIcon& icon, const QString& tip) {
    m_state->calls.append(u"modify %1 %2"_s.arg(flags).arg(tip));
    if (flags & IconFlag)
        m_state->icon = icon.cacheKey();
    if (flags & TipFlag)
        m_state->tip = tip;
}

void FakeTrayArea::remove() {
    m_state->calls.append(u"remove"_s);
    m_state->shown = false;
}

void FakeTrayArea::setMenu(QMenu* menu) {
    m_state->calls.append(u"menu"_s);
    m_state->menu = menu;
}

TestContext::TestContext()
    : context({dialogs, clock, sound, hotKeys, links, notifications,
               [state = tray] { return std::make_unique<FakeTrayArea>(state); },
               TAutostart(u"/usr/bin/velmorand"_s, QDir::currentPath())}) {
    context.home = QDir::currentPath();
}

TestProgram::TestProgram() : windows(t.context), main(windows.main()) {}

bool TestProgram::start() {
    windows.start();
    // Settled: the main window's activation has brought up the last window.
    if (windows.isProgramHidden())
        return true;
    return QTest::qWaitFor([this] {
        QWidget* last = windows.window(t.context.settings.lastWindow);
        return last && last->isActiveWindow();
    });
}

TRecordWindow* TestProgram::record(const QString& name) const {
    return windows.record(name);
}

QStringList TestProgram::visibleWindows() const {
    QStringList names{TSettings::MainWindow};
    for (const TRecordKind* kind : RecordKinds())
        names.append(QString::fromUtf16(kind->name));
    QStringList visible;
    for (const QString& name : names)
        if (QWidget* w = windows.window(name); w && w->isVisible())
            visible.append(name);
    return visible;
}

QStringList ListCaptions(const QWidget* window) {
    const QAbstractItemModel* model = window->findChild<QAbstractItemView*>(u"zoznam"_s)->model();
    QStringList captions;
    for (int row = 0; row < model->rowCount(); ++row)
        captions.append(model->index(row, 0).data().toString());
    return captions;
}

QString PaneText(const QWidget* window) {
    const auto* pane = window->findChild<TReadingPane*>();
    return pane ? pane->toPlainText() : QString();
}

QStringList PaneLinks(const QWidget* window) {
    QStringList links;
    const auto* pane = window->findChild<TReadingPane*>();
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next())
        for (auto piece = block.begin(); !piece.atEnd(); ++piece)
            if (piece.fragment().charFormat().isAnchor())
                links.append(piece.fragment().charFormat().anchorHref());
    return links;
}

void Trigger(const QWidget* window, const char* command) {
    QAction* action = window->findChild<QAction*>(QString::fromLatin1(command));
    if (!action)
        qFatal("no command %s", command);
    action->trigger();
}

bool WaitForFocus(QWidget* window) {
    return QTest::qWaitFor([window] {
        return window->windowHandle() && QGuiApplication::focusWindow() == window->windowHandle();
    });
}

void BackTo(TRecordWindow* window) {
    window->showActive();
    if (!WaitForFocus(window))
        qFatal("the window %s did not come back", qPrintable(window->name()));
}

void FakeNotifications::show(const QString& summary, const QString& body,
                             const QList<Action>& list) {
    QStringList actions;
    for (const Action& action : list)
        actions.append(action.key + u'=' + action.label);
    shown.append({summary, body, actions});
    open = service;
    if (!service)
        emit unavailable();
}
