// Windows-1250 text and the line-file helper.
#include "storage/exception.h"
#include "storage/linefile.h"
#include "storage/text1250.h"
#include "testcore.h"

#include <QDir>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

class TestText : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Cp1250::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Cp1250::encode(text), all);
    }

    void tableAgreesWithTheSystemCodec() {
        QStringDecoder system("windows-1250");
        if (!system.isValid())
            QSKIP("this Qt has no windows-1250 codec to compare with");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1250::decode(all), QString(system.decode(all)));
    }

    void encode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("slovak") << u"Môj diár, ťava, Ľudo"_s
                                << QByteArray("M\xF4j di\xE1r, \x9D"
                                              "ava, \xBC"
                                              "udo");
        QTest::newRow("euro and quotes") << u"€„“"_s << QByteArray("\x80\x84\x93");
        QTest::newRow("outside the code page") << u"a日b"_s << QByteArray("a?b");
        QTest::newRow("outside the basic plane: one ? per character")
            << u"x😀y"_s << QByteArray("x?y");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    }
    void encode() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        bool lost = false;
        QCOMPARE(Cp1250::encode(text, &lost), bytes);
        QCOMPARE(lost, bytes.contains('?'));
    }

    // The characters a text loses, each once in the order they come; also
    // for megabytes of thousands of different ones.
    void unstorable() {
        QCOMPARE(Cp1250::unstorable(u"日a😀日ô"_s + QChar(0xD800)),
                 (QStringList{u"日"_s, u"😀"_s, QString(QChar(0xD800))}));
        QString many;
        for (int i = 0; i < 3 << 20; ++i)
            many += QChar(char16_t(0x4E00 + i % 20000));
        const QStringList lost = Cp1250::unstorable(many);
        QCOMPARE(lost.size(), 20000);
        QCOMPARE(lost.last(), QString(QChar(char16_t(0x4E00 + 19999))));
    }

    void split_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("no line end") << QByteArray("a") << QStringList{u"a"_s};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("lf only") << QByteArray("a\nb\n\nc")
                                 << QStringList{u"a"_s, u"b"_s, u""_s, u"c"_s};
        QTest::newRow("lone cr") << QByteArray("a\rb") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << QStringList{u"a"_s, u""_s, u"b"_s};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{u""_s, u""_s};
        QTest::newRow("undefined bytes kept")
            << QByteArray("\x81\x98\r\n") << QStringList{QString(QChar(0x81)) + QChar(0x98)};
        QTest::newRow("nul kept") << QByteArray("a\0b", 3)
                                  << QStringList{u"a"_s + QChar(0) + u"b"_s};
    }
    void split() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(LineFile::split(bytes), lines);
    }

    void writeIsCrLfInTheCodePageAndReadsBack() {
        TempHome home;
        const QStringList lines{u"2.0"_s, u"Môj diár"_s, QString(), u"posledný"_s};
        LineFile::write(u"out.ini"_s, lines);
        QCOMPARE(FileBytes(u"out.ini"_s),
                 QByteArray("2.0\r\nM\xF4j di\xE1r\r\n\r\nposledn\xFD\r\n"));
        QCOMPARE(LineFile::read(u"out.ini"_s), lines);
        // Nothing but the file itself is left in the folder.
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{u"out.ini"_s});
    }

    void veryLongLine() {
        TempHome home;
        const QString line(3 * 1024 * 1024, u'x');
        LineFile::write(u"long.txt"_s, {line, u"b"_s});
        const QStringList back = LineFile::read(u"long.txt"_s);
        QCOMPARE(back.size(), 2);
        QCOMPARE(back[0].size(), line.size());
    }

    void aLineBreakInALineIsRefused_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("lf") << u"Line1\nLine2"_s;
        QTest::newRow("cr") << u"Line1\rLine2"_s;
    }
    void aLineBreakInALineIsRefused() {
        QFETCH(QString, line);
        TempHome home;
        LineFile::write(u"view.ini"_s, {u"mojepoznamky"_s, u"Moje"_s});
        try {
            LineFile::write(u"view.ini"_s, {u"mojepoznamky"_s, line, u"where viditelnost=1"_s});
            QFAIL("a line holding a line break was written");
        } catch (const EFileError& e) {
            QVERIFY2(e.message().contains(u"\"view.ini\""_s), qPrintable(e.message()));
        }
        QCOMPARE(FileBytes(u"view.ini"_s), QByteArray("mojepoznamky\r\nMoje\r\n"));
        // A text file whose pieces hold their own breaks takes them as they are.
        LineFile::writeTexts(u"export.txt"_s, {u"a\r\nb\nc"_s, QString()});
        QCOMPARE(FileBytes(u"export.txt"_s), QByteArray("a\r\nb\nc\r\n\r\n"));
    }

    // An export written in pieces: every piece arrives, in order, across
    // the writes; a writer dropped before its end (an error part-way)
    // leaves the old file whole and nothing beside it.
    void aFileWrittenInPieces() {
        TempHome home;
        QByteArray expected;
        {
            LineFile::Writer out(u"export.txt"_s);
            for (int i = 0; i < 300000; ++i) {
                const QByteArray piece = QByteArray::number(i) + "\r\n";
                out.buffer() += piece;
                expected += piece;
                out.written();
            }
            out.commit();
        }
        QVERIFY(expected.size() > 2 << 20);
        QCOMPARE(FileBytes(u"export.txt"_s), expected);
        {
            LineFile::Writer out(u"export.txt"_s);
            out.buffer() = QByteArray(3 << 20, 'x');
            out.written();
        }
        QCOMPARE(FileBytes(u"export.txt"_s), expected);
        QCOMPARE(QDir().entryList(QDir::Files), QStringList{u"export.txt"_s});
    }

    void errorsNameTheFile() {
        TempHome home;
        try {
            LineFile::read(u"missing.ini"_s);
            QFAIL("reading a missing file succeeded");
        } catch (const EFileError& e) {
            QVERIFY2(e.message().contains(u"\"missing.ini\""_s), qPrintable(e.message()));
        }
        try {
            LineFile::write(u"no-such-folder/out.ini"_s, {u"x"_s});
            QFAIL("writing into a missing folder succeeded");
        } catch (const EFileError& e) {
            QVERIFY2(e.message().contains(u"\"no-such-folder/out.ini\""_s),
                     qPrintable(e.message()));
        }
    }
};

VELMORAND_CORE_TEST_MAIN(TestText)
#include "tst_text.moc"
