// The language string table: built-in Slovak strings and language files.
#include "language/languagetable.h"
#include "storage/exception.h"
#include "storage/text1250.h"
#include "testcore.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray numberedLines(int count, const char* end = "\r\n") {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "line " + QByteArray::number(i) + end;
    return bytes;
}

} // namespace

class TestLanguageTable : public QObject {
    Q_OBJECT
private slots:
    void slovakStrings_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << u"Velmorand 2.1"_s;
        QTest::newRow("2") << 2 << u"Moje poznámky"_s;
        QTest::newRow("26") << 26 << u"Upozornenie!"_s;
        QTest::newRow("44") << 44 << u"Môj diár"_s;
        QTest::newRow("51 with quotes")
            << 51
            << u"Dátum a čas pripomienky nemôžu byť z minulosti! Zvoľte iný dátum a čas, alebo "
               "zrušte voľbu \"Upozorniť\"!"_s;
        QTest::newRow("56") << 56 << u"Moje kontakty"_s;
        QTest::newRow("110") << 110 << u"Môj denník"_s;
        QTest::newRow("117 leading blank") << 117 << u" Pridať"_s;
        QTest::newRow("120 between the birthdays") << 120 << u"Mažem tabulku"_s;
        QTest::newRow("153 unclosed") << 153 << u"Program (*.exe"_s;
        QTest::newRow("163 as written") << 163 << u"OZnamovať každú štvrťhodinu"_s;
        QTest::newRow("188") << 188 << u"Zobraziť okno programu"_s;
        QTest::newRow("208") << 208 << u"Zmena jazyka bola úspešne vykonaná"_s;
        QTest::newRow("out of range") << TLanguageTable::Total << QString();
        QTest::newRow("negative") << -1 << QString();
    }
    void slovakStrings() {
        QFETCH(int, index);
        QFETCH(QString, text);
        TLanguageTable table;
        QCOMPARE(table.at(index), text);
    }

    void everySlovakStringIsSetAndFitsTheCodePage() {
        const QStringList strings = TLanguageTable::SlovakStrings();
        QCOMPARE(strings.size(), TLanguageTable::Total);
        for (int i = 0; i < strings.size(); ++i) {
            QVERIFY2(!strings[i].isEmpty(), qPrintable(QString::number(i)));
            QVERIFY2(!strings[i].contains(u'\n'), qPrintable(QString::number(i)));
            // Written to a language file, every character comes back.
            QCOMPARE(Cp1250::decode(Cp1250::encode(strings[i])), strings[i]);
        }
    }

    void languageFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("filled"); // strings 0 .. filled-1 hold "line N"
        QTest::newRow("0 lines") << QByteArray() << 0;
        QTest::newRow("100 lines") << numberedLines(100) << 100;
        QTest::newRow("209 lines") << numberedLines(209) << 209;
        QTest::newRow("all lines") << numberedLines(TLanguageTable::Total) << TLanguageTable::Total;
        QTest::newRow("5000 lines") << numberedLines(5000) << TLanguageTable::Total;
        QTest::newRow("lf only") << numberedLines(150, "\n") << 150;
        QTest::newRow("no last line end") << numberedLines(3).chopped(2) << 3;
    }
    void languageFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, filled);
        TempHome home;
        QDir().mkdir(u"languages"_s);
        WriteFileBytes(u"languages/Test.lng"_s, bytes);
        TLanguageTable table;
        table.Nahrajretazce(u"Test"_s);
        QCOMPARE(table.strings().size(), TLanguageTable::Total);
        // A missing line of the original's texts is empty; of the program's
        // own, the built-in Slovak text, so a file of the original keeps working.
        const QStringList slovak = TLanguageTable::SlovakStrings();
        for (int i = 0; i < TLanguageTable::Total; ++i)
            QCOMPARE(table.at(i), i < filled                  ? u"line "_s + QString::number(i)
                                  : i < TLanguageTable::Count ? QString()
                                                              : slovak[i]);
        table.Nahrajretazce(TLanguageTable::Slovak);
        QCOMPARE(table.strings(), TLanguageTable::SlovakStrings());
    }

    void codePageAndUndefinedBytes() {
        TempHome home;
        QDir().mkdir(u"languages"_s);
        WriteFileBytes(u"languages/Cesky.lng"_s,
                       "Velmorand\r\nPozn\xE1mky \x9A\x9E\r\n\x81\x98\r\n");
        TLanguageTable table;
        table.Nahrajretazce(u"&Cesky"_s); // the menu's accelerator mark is not part of the name
        QCOMPARE(table.at(1), u"Poznámky šž"_s);
        QCOMPARE(table.at(2), QString(QChar(0x81)) + QChar(0x98));
    }

    void fileNameWithoutAccelerators() {
        QCOMPARE(TLanguageTable::FilePath(u"&English"_s), u"languages/English.lng"_s);
        QCOMPARE(TLanguageTable::FilePath(u"Fr&an&cais"_s), u"languages/Francais.lng"_s);
    }

    void missingFileKeepsTheTable() {
        TempHome home;
        QDir().mkdir(u"languages"_s);
        WriteFileBytes(u"languages/Other.lng"_s, "Other 2.1\r\n");
        TLanguageTable table;
        table.Nahrajretazce(u"Other"_s);
        try {
            table.Nahrajretazce(u"Missing"_s);
            QFAIL("a missing language file was loaded");
        } catch (const EFileError& e) {
            QVERIFY2(e.message().contains(u"languages/Missing.lng"_s), qPrintable(e.message()));
        }
        QCOMPARE(table.at(0), u"Other 2.1"_s);
        QCOMPARE(table.at(1), QString());
    }
};

VELMORAND_CORE_TEST_MAIN(TestLanguageTable)
#include "tst_languagetable.moc"
