#include "testsupport.h"

#include "addressbook/formadresar.h"
#include "birthdays/formnarodky.h"
#include "diary/formdiar.h"
#include "journal/formdennik.h"
#include "notes/formpoznamky.h"
#include "shell/formvelmorand.h"
#include "storage/text1250.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

TempHome::TempHome() : m_previous(QDir::currentPath()) {
    if (!m_dir.isValid() || !QDir::setCurrent(m_dir.path()))
        qFatal("cannot make a temporary home folder");
}

TempHome::~TempHome() {
    QDir::setCurrent(m_previous);
}

IDialogs::Answer FakeDialogs::messageBox(QWidget*, const QString& caption, const QString& text,
                                         Icon icon, Buttons buttons) {
    boxes.append({caption, text, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

QString FakeDialogs::saveFileName(QWidget*, const QString& title, const QString&, const QString&) {
    fileDialogTitles.append(title);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString FakeDialogs::openFileName(QWidget*, const QString& title, const QString&) {
    fileDialogTitles.append(title);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

void FakeSoundPlayer::play(const QList<TSound>& sounds) {
    for (const TSound& sound : sounds)
        if (failing.contains(sound.file))
            throw ESoundError(
                u"Cannot play the sound \"%1\": the file does not exist"_s.arg(sound.file));
    for (const TSound& sound : sounds)
        played.append(u"%1 x%2"_s.arg(sound.file).arg(sound.times));
}

bool FakeHotKeys::registerHotKey(int id, QKeyCombination keys) {
    registered.remove(id);
    if (refuse)
        return false;
    registered.insert(id, keys);
    return true;
}

void FakeTrayArea::add(const QIcon& icon, const QString& tip) {
    m_state->calls.append(u"add "_s + tip);
    m_state->shown = !icon.isNull();
    m_state->tip = tip;
}

void FakeTrayArea::modify(int flags, const QIcon&, const QString& tip) {
    m_state->calls.append(u"modify %1 %2"_s.arg(flags).arg(tip));
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
    : context({dialogs, clock, sound, hotKeys,
               [state = tray] { return std::make_unique<FakeTrayArea>(state); },
               TAutostart(u"/usr/bin/velmorand"_s, QDir::currentPath())}) {
    context.home = QDir::currentPath();
}

TestProgram::TestProgram() : ownedMain(std::make_unique<Tformvelmorand>(t.context)) {
    main = ownedMain.get();
}

TestProgram::~TestProgram() {
    t.context.windows = TWindows();
    t.context.windows.main = main;
}

bool TestProgram::start() {
    if (!main->FormCreate())
        return false;
    TProgramContext& c = t.context;
    records.push_back(std::make_unique<TFormpoznamky>(c));
    records.push_back(std::make_unique<Tformdennik>(c));
    records.push_back(std::make_unique<Tformdiar>(c));
    records.push_back(std::make_unique<TFormadresar>(c));
    records.push_back(std::make_unique<Tformnarodky>(c));
    c.windows.poznamky = records[0].get();
    c.windows.dennik = records[1].get();
    c.windows.diar = records[2].get();
    c.windows.adresar = records[3].get();
    c.windows.narodky = records[4].get();
    main->ShowWindowNamed(u"velmorand"_s);
    // Settled: the main window's activation has brought up the last window.
    if (main->isProgramHidden())
        return true;
    return QTest::qWaitFor([this] {
        QWidget* last = t.context.windows.byName(t.context.settings.lastWindow);
        return last && last->isActiveWindow();
    });
}

TRecordWindow* TestProgram::record(const QString& name) const {
    return static_cast<TRecordWindow*>(t.context.windows.byName(name));
}

QStringList TestProgram::visibleWindows() const {
    QStringList names;
    for (const char16_t* name :
         {u"velmorand", u"poznamky", u"diar", u"adresar", u"dennik", u"narodky"})
        if (QWidget* w = t.context.windows.byName(QString::fromUtf16(name)); w && w->isVisible())
            names.append(QString::fromUtf16(name));
    return names;
}

bool WaitForFocus(QWidget* window) {
    return QTest::qWaitFor([window] {
        return window->windowHandle() && QGuiApplication::focusWindow() == window->windowHandle();
    });
}

QList<QStringList> DbRows(const QString& file, const QString& sql) {
    QList<QStringList> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        qWarning("DbRows: cannot open %s", qPrintable(file));
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, Cp1250::encode(sql).constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
                    row.append(QString());
                    continue;
                }
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row.append(Cp1250::decode(QByteArrayView(text, sqlite3_column_bytes(stmt, c))));
            }
            rows.append(row);
        }
    } else {
        qWarning("DbRows: %s", sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

TestEnvironment::TestEnvironment() {
    if (!m_root.isValid())
        qFatal("cannot make a temporary folder");
    const QString root = m_root.path();
    const auto set = [&](const char* name, const QString& relative) {
        const QString path = root + relative;
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    };
    set("HOME", u"/home"_s);
    set("XDG_DATA_HOME", u"/home/.local/share"_s);
    set("XDG_CONFIG_HOME", u"/home/.config"_s);
    set("XDG_CACHE_HOME", u"/home/.cache"_s);
    set("XDG_RUNTIME_DIR", u"/runtime"_s);
    QFile::setPermissions(root + u"/runtime"_s,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qunsetenv("VELMORAND_HOME");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    QDir::setCurrent(root + u"/home"_s);
}
