// The tray component's property rules.
#include "platform/trayicon.h"
#include "testsupport.h"

#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {
struct Tray {
    std::shared_ptr<FakeTrayArea::State> state = std::make_shared<FakeTrayArea::State>();
    FakeTrayArea* area = new FakeTrayArea(state);
    TTrayIkona tray{std::unique_ptr<ITrayArea>(area)};
};
} // namespace

class TestTray : public QObject {
    Q_OBJECT
private slots:
    void hintIsCutTo63Characters_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("tip");
        const QString long64 = QString(60, u'a') + u"ťava"_s;
        QTest::newRow("63") << QString(63, u'x') << QString(63, u'x');
        QTest::newRow("64 characters, not bytes") << long64 << long64.left(63);
        QTest::newRow("long") << QString(500, u'y') << QString(63, u'y');
        QTest::newRow("no half character") << QString(62, u'a') + u"😀b"_s << QString(62, u'a');
    }
    void hintIsCutTo63Characters() {
        QFETCH(QString, hint);
        QFETCH(QString, tip);
        Tray t;
        t.tray.setHint(hint);
        t.tray.setIconVisible(true);
        QCOMPARE(t.state->tip, tip);
        QCOMPARE(t.tray.Hint(), hint);
    }

    void visibilityAndHintSendOnlyChanges() {
        Tray t;
        t.tray.setHint(u"Ikona"_s);   // not visible: only stored
        t.tray.setIconVisible(false); // unchanged: nothing
        QVERIFY(t.state->calls.isEmpty());
        t.tray.setIconVisible(true);
        t.tray.setIconVisible(true); // unchanged: nothing
        t.tray.setHint(u"Ikona"_s);  // unchanged: nothing
        t.tray.setHint(u"Pripomienka: obed"_s);
        const QIcon other(QPixmap(16, 16));
        t.tray.setIcon(other);
        t.tray.setIcon(other); // unchanged: nothing
        t.tray.setIconVisible(false);
        t.tray.setHint(u"later"_s);
        t.tray.setIconVisible(true);
        QCOMPARE(t.state->calls,
                 (QStringList{u"add Ikona"_s, u"modify 4 Pripomienka: obed"_s,
                              u"modify 2 Pripomienka: obed"_s, u"remove"_s, u"add later"_s}));
        QVERIFY(t.state->shown); // the program's own icon stands in for a missing one
        QVERIFY(!t.tray.ActiveIcon().isNull());
    }

    void destroyingRemovesTheIcon() {
        auto state = std::make_shared<FakeTrayArea::State>();
        {
            TTrayIkona tray(std::make_unique<FakeTrayArea>(state));
            tray.setIconVisible(true);
        }
        QCOMPARE(state->calls.last(), u"remove"_s);
        QVERIFY(!state->shown);
    }

    void destroyedMenuIsForgotten() {
        Tray t;
        auto* menu = new QMenu;
        t.tray.setPopupMenu(menu);
        QCOMPARE(t.tray.PopupMenu(), menu);
        QCOMPARE(t.state->menu.data(), menu);
        delete menu;
        QCOMPARE(t.tray.PopupMenu(), nullptr);
        QCOMPARE(t.state->menu.data(), nullptr); // a right click now shows nothing
    }

    void leftClickOnlyWithOnClick() {
        Tray t;
        t.tray.setIconVisible(true);
        t.area->click(); // nothing happens without OnClick
        int clicks = 0;
        t.tray.OnClick = [&] { ++clicks; };
        t.area->click();
        QCOMPARE(clicks, 1);
    }

    void twoInstancesTwoIcons() {
        Tray a, b;
        a.tray.setHint(u"A"_s);
        b.tray.setHint(u"B"_s);
        a.tray.setIconVisible(true);
        b.tray.setIconVisible(true);
        QCOMPARE(a.state->calls, QStringList{u"add A"_s});
        QCOMPARE(b.state->calls, QStringList{u"add B"_s});
    }
};

VELMORAND_TEST_MAIN(TestTray)
#include "tst_tray.moc"
