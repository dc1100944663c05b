// Tables of comma-separated values as spreadsheets and mail programs write
// them: quoting, separators, encodings, headers mapped by their names,
// broken files said with their line, and the program's rows read back.
#include "exchange/csvtable.h"
#include "testcore.h"

#include <QBuffer>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<QStringList> readAll(const QByteArray& bytes, char separator = ',',
                           TextEncoding encoding = TextEncoding::Utf8,
                           QList<qint64>* lines = nullptr) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TCsvReader reader(buffer, encoding, separator);
    QList<QStringList> rows;
    QStringList row;
    while (reader.next(row)) {
        rows.append(row);
        if (lines)
            lines->append(reader.line());
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(TFormatError::Fault)

class TestCsvTable : public QObject {
    Q_OBJECT
private slots:
    void readsRows_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QList<qint64>>("lines");
        QTest::newRow("quoted separators, doubled quotes, line breaks, BOM")
            << QByteArray("\xEF\xBB\xBFmeno,pozn\xC3\xA1mka\r\n"
                          "\"Nov\xC3\xA1k, J\xC3\xA1n\",\"povedal \"\"ahoj\"\"\r\nna dvoch\"\r\n"
                          "\r\n"
                          "Eva,\r\n")
            << ','
            << QList<QStringList>{{u"meno"_s, u"poznámka"_s},
                                  {u"Novák, Ján"_s, u"povedal \"ahoj\"\nna dvoch"_s},
                                  {u"Eva"_s, u""_s}}
            << QList<qint64>{1, 2, 5};
        QTest::newRow("semicolons, LF only, no last line end")
            << QByteArray("a;\"b;c\";d\n1;2;3") << ';'
            << QList<QStringList>{{u"a"_s, u"b;c"_s, u"d"_s}, {u"1"_s, u"2"_s, u"3"_s}}
            << QList<qint64>{1, 2};
        QTest::newRow("tabs keep blanks apart")
            << QByteArray("a\t\tb c\t \"x\"\r\n") << '\t'
            << QList<QStringList>{{u"a"_s, u""_s, u"b c"_s, u"x"_s}} << QList<qint64>{1};
        QTest::newRow("a stray quote inside a value stays")
            << QByteArray("5\" disk,ok\r\n") << ',' << QList<QStringList>{{u"5\" disk"_s, u"ok"_s}}
            << QList<qint64>{1};
    }
    void readsRows() {
        QFETCH(QByteArray, file);
        QFETCH(char, separator);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QList<qint64>, lines);
        QList<qint64> starts;
        QCOMPARE(readAll(file, separator, TextEncoding::Utf8, &starts), rows);
        QCOMPARE(starts, lines);
    }

    void encodings() {
        QCOMPARE(readAll("Ko\xE8i\x9Aov\xE1,\xBEubo\r\n", ',', TextEncoding::Cp1250),
                 (QList<QStringList>{{u"Kočišová"_s, u"ľubo"_s}}));
        const QString text = u"Ján;Ďurčo\r\n"_s;
        QByteArray utf16("\xFF\xFE");
        utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QCOMPARE(readAll(utf16, ';', TextEncoding::Utf16LE),
                 (QList<QStringList>{{u"Ján"_s, u"Ďurčo"_s}}));
    }

    void brokenFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<TFormatError::Fault>("fault");
        QTest::addColumn<qint64>("line");
        QTest::newRow("a quote never closed") << QByteArray("a,b\r\n\"c,d\r\ne,f\r\n")
                                              << TFormatError::Fault::QuoteNotClosed << qint64(2);
        QTest::newRow("50 MB on one line")
            << QByteArray("a,b\r\nx," + QByteArray(50'000'000, 'y') + "\r\n")
            << TFormatError::Fault::ValueTooLong << qint64(2);
        QByteArray lines = "a\r\n\"";
        for (int i = 0; i < 20000; ++i)
            lines += QByteArray(100, 'z') + "\r\n";
        QTest::newRow("a quoted value over many lines")
            << lines + "\"\r\n"
            << TFormatError::Fault::ValueTooLong << qint64(2);
    }
    void brokenFiles() {
        QFETCH(QByteArray, file);
        QFETCH(TFormatError::Fault, fault);
        QFETCH(qint64, line);
        try {
            readAll(file);
            QFAIL("read without a fault");
        } catch (const TFormatError& e) {
            QCOMPARE(e.fault, fault);
            QCOMPARE(e.line, line);
        }
    }

    void separators_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<char>("separator");
        QTest::newRow("comma") << u"First Name,Last Name,\"Street; 2\""_s << ',';
        QTest::newRow("semicolon") << u"Meno;Priezvisko;\"a, b, c\""_s << ';';
        QTest::newRow("tab") << u"a\tb\tc,d"_s << '\t';
        QTest::newRow("one column") << u"Meno"_s << ',';
    }
    void separators() {
        QFETCH(QString, line);
        QFETCH(char, separator);
        QCOMPARE(CsvSeparator(line), separator);
    }

    // The headers of the common exports are mapped without the user.
    void headers_data() {
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<QList<int>>("map");
        QTest::newRow("Outlook") << QStringList{u"First Name"_s,
                                                u"Middle Name"_s,
                                                u"Last Name"_s,
                                                u"Home Street"_s,
                                                u"Home City"_s,
                                                u"Home Postal Code"_s,
                                                u"Home Country/Region"_s,
                                                u"Home Phone"_s,
                                                u"Business Phone"_s,
                                                u"Mobile Phone"_s,
                                                u"Home Fax"_s,
                                                u"E-mail Address"_s,
                                                u"E-mail 2 Address"_s,
                                                u"E-mail 3 Address"_s,
                                                u"Web Page"_s,
                                                u"Birthday"_s}
                                 << QList<int>{0, -1, 1,  2,  4,  3,  5,  6,
                                               7, 8,  11, 12, 13, 14, 15, kBirthdayColumn};
        QTest::newRow("Thunderbird")
            << QStringList{u"First Name"_s,    u"Last Name"_s,       u"Display Name"_s,
                           u"Primary Email"_s, u"Secondary Email"_s, u"Work Phone"_s,
                           u"Home Phone"_s,    u"Fax Number"_s,      u"Mobile Number"_s,
                           u"Home Address"_s,  u"Home City"_s,       u"Home ZipCode"_s,
                           u"Home Country"_s,  u"Web Page 1"_s}
            << QList<int>{0, 1, -1, 12, 13, 7, 6, 11, 8, 2, 4, 3, 5, 15};
        QTest::newRow("Google") << QStringList{u"Given Name"_s,         u"Family Name"_s,
                                               u"E-mail 1 - Value"_s,   u"Phone 1 - Value"_s,
                                               u"Address 1 - Street"_s, u"Address 1 - City"_s,
                                               u"Website 1 - Value"_s}
                                << QList<int>{0, 1, 12, 6, 2, 4, 15};
        QTest::newRow("Slovak, accents and case aside")
            << QStringList{u"MENO"_s,
                           u"Priezvisko"_s,
                           u"E-mailová adresa"_s,
                           u"Mobilný telefón"_s,
                           u"PSČ"_s,
                           u"Dátum narodenia"_s,
                           u"Meno"_s}
            << QList<int>{0, 1, 12, 8, 3, kBirthdayColumn, -1};
        QTest::newRow("the program's own labels")
            << QStringList{u"Home phone"_s, u"ICQ"_s, u"Gadu-Gadu"_s, u"Mobil 2"_s}
            << QList<int>{6, 16, 23, 9};
    }
    void headers() {
        QFETCH(QStringList, header);
        QFETCH(QList<int>, map);
        QCOMPARE(CsvHeaderMap(header, {}), map);
    }

    void rowsReadBack() {
        const QStringList values{u"plain"_s,      u"a, b"_s,   u"\"quoted\""_s,
                                 u"two\nlines"_s, u" blank"_s, u"semi;colon"_s,
                                 u"Ľščťžýáíé"_s,  QString(),   u"tab\there"_s};
        const QByteArray row = CsvRow(values);
        QCOMPARE(row.right(2), QByteArray("\r\n"));
        QCOMPARE(readAll(row + row), (QList<QStringList>{values, values}));
    }
};

QTEST_GUILESS_MAIN(TestCsvTable)
#include "tst_csvtable.moc"
