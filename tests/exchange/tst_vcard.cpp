// vCard files as phones and mail programs write them, read into the 24
// fields of a contact; broken files said with their line; what the
// program writes read back to the same values.
#include "exchange/vcard.h"
#include "testcore.h"

#include <QBuffer>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<TCardContact> readAll(const QByteArray& bytes, TextEncoding encoding = TextEncoding::Utf8) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TVCardReader reader(buffer, encoding);
    QList<TCardContact> cards;
    TCardContact card;
    while (reader.next(card))
        cards.append(card);
    return cards;
}

// The fields a card filled, as "place=value", in the fields' order.
QStringList filled(const TCardContact& card) {
    QStringList all;
    for (int i = 0; i < 24; ++i)
        if (!card.fields[i].isEmpty())
            all.append(QString::number(i) + u'=' + card.fields[i]);
    return all;
}

QByteArray card(const char* version, const QByteArray& lines) {
    return "BEGIN:VCARD\r\nVERSION:" + QByteArray(version) + "\r\n" + lines + "END:VCARD\r\n";
}

} // namespace

Q_DECLARE_METATYPE(TFormatError::Fault)

class TestVCard : public QObject {
    Q_OBJECT
private slots:
    void readsCards_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("leftOut");
        QTest::newRow("2.1 quoted-printable, charset, bare types")
            << card("2.1", "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Nov=C3=A1k;J=C3=A1n\r\n"
                           "TEL;HOME;VOICE:+421 2 1234\r\nTEL;CELL:0905 111\r\n"
                           "TEL;WORK;FAX:02 999\r\n")
            << QStringList{u"0=Ján"_s, u"1=Novák"_s, u"6=+421 2 1234"_s, u"8=0905 111"_s,
                           u"11=02 999"_s}
            << QStringList();
        QTest::newRow("2.1 soft line ends, ISO-8859-2, a note left out")
            << card("2.1", "N;CHARSET=ISO-8859-2;QUOTED-PRINTABLE:=A9tef=E1nik;Mil=\r\nan\r\n"
                           "NOTE;ENCODING=QUOTED-PRINTABLE:prv=\r\ny riadok\r\n")
            << QStringList{u"0=Milan"_s, u"1=Štefánik"_s} << QStringList{u"NOTE"_s};
        QTest::newRow("3.0 folded, escaped, groups, repeated type")
            << card("3.0", "N:Nov\xC3\xA1kov\xC3\xA1;Eva;;;\r\nFN:Eva Nov\xC3\xA1kov\xC3\xA1\r\n"
                           "item1.TEL;type=CELL;type=pref:+421905\r\nitem1.X-ABLabel:mobil\r\n"
                           "EMAIL;TYPE=INTERNET,HOME:eva@exa\r\n mple.sk\r\n"
                           "ADR;TYPE=HOME:;;Hlavn\xC3\xA1 1\\, byt 2;Nitra;;949 01;Slovensko\r\n")
            << QStringList{u"0=Eva"_s,     u"1=Nováková"_s,       u"2=Hlavná 1, byt 2"_s,
                           u"3=949 01"_s,  u"4=Nitra"_s,          u"5=Slovensko"_s,
                           u"8=+421905"_s, u"12=eva@example.sk"_s}
            << QStringList();
        QTest::newRow("4.0 quoted types, uri values, messengers")
            << card("4.0", "FN:Peter Mal\xC3\xBD\r\n"
                           "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+421-2-5555\r\n"
                           "IMPP;PREF=1:xmpp:peter@jabber.sk\r\nIMPP:skype:peter.maly\r\n"
                           "IMPP;X-SERVICE-TYPE=ICQ:aim:123456\r\nX-GADUGADU:4242\r\n"
                           "URL:https://maly.sk\r\nIMPP:sip:peter@voip.sk\r\n")
            << QStringList{u"0=Peter"_s,
                           u"1=Malý"_s,
                           u"6=+421-2-5555"_s,
                           u"15=https://maly.sk"_s,
                           u"16=123456"_s,
                           u"17=peter.maly"_s,
                           u"19=peter@jabber.sk"_s,
                           u"23=4242"_s}
            << QStringList{u"IMPP"_s};
        QTest::newRow("more than fits, photo, titles, second address")
            << card("3.0", "N:Kov\xC3\xA1\xC4\x8D;Jozef;;Ing.;\r\n"
                           "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\r\n AAAA\r\n"
                           "EMAIL:a@x.sk\r\nEMAIL:b@x.sk\r\nEMAIL:c@x.sk\r\nEMAIL:d@x.sk\r\n"
                           "TEL;TYPE=HOME:1\r\nTEL;TYPE=HOME:2\r\nTEL:3\r\n"
                           "ADR:;;Prv\xC3\xA1;Trnava;;;\r\nADR:;;Druh\xC3\xA1;Ko\xC5\xA1ice;;;\r\n"
                           "ORG:Firma\r\nBDAY:--0404\r\n")
            << QStringList{u"0=Jozef"_s, u"1=Kováč"_s,   u"2=Prvá"_s,    u"4=Trnava"_s, u"6=1"_s,
                           u"7=3"_s,     u"12=a@x.sk"_s, u"13=b@x.sk"_s, u"14=c@x.sk"_s}
            << QStringList{u"N"_s, u"PHOTO"_s, u"EMAIL"_s, u"TEL"_s, u"ADR"_s, u"ORG"_s, u"BDAY"_s};
        QTest::newRow("Windows-1250 without a charset, CR line ends, a BOM")
            << (kUtf8Bom + card("2.1", "N:Ko\xE8i\x9Aov\xE1;M\xE1ria\r\n").replace("\r\n", "\r"))
            << QStringList{u"0=M\u00E1ria"_s, u"1=Ko\u010Di\u0161ov\u00E1"_s} << QStringList();
        // Bytes that only look like UTF-8 (an overlong form, half of a
        // surrogate pair, a sequence cut short) are Windows-1250; a
        // character beyond the basic plane and a mark inside a value are
        // UTF-8 as they are.
        QTest::newRow("what is and is not UTF-8")
            << card("3.0",
                    "N:\xC0\xAF;\xED\xA0\x80;\xC5;;\r\nEMAIL:\xF0\x9F\x98\x80@\xEF\xBB\xBFx\r\n")
            << QStringList{u"0=\u00ED\u00A0\u20AC \u0139"_s, u"1=\u0154\u017B"_s,
                           u"12=\U0001F600@\uFEFFx"_s}
            << QStringList();
        // Names in any case; blanks of other scripts (a no-break space, an
        // Ogham space mark, an em space) around values, at one end only.
        QTest::newRow("names in any case, blanks of any script")
            << card("3.0", "n:\xC2\xA0Nov\xC3\xA1k;\xE1\x9A\x80J\xC3\xA1n;;;\r\n"
                           "Tel;tYPE=cell:0905 111\xC2\xA0\r\neMail:\xE2\x80\x83jan@x.sk\r\n"
                           "x-SkYpe:jan.novak \r\n")
            << QStringList{u"0=J\u00E1n"_s, u"1=Nov\u00E1k"_s, u"8=0905 111"_s, u"12=jan@x.sk"_s,
                           u"17=jan.novak"_s}
            << QStringList();
        QTest::newRow("invalid quoted-printable stays as it is")
            << card("2.1", "N;ENCODING=QUOTED-PRINTABLE:A=ZZ=4;B=3\r\n")
            << QStringList{u"0=B=3"_s, u"1=A=ZZ=4"_s} << QStringList();
    }
    void readsCards() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, leftOut);
        const QList<TCardContact> cards = readAll(file);
        QCOMPARE(cards.size(), 1);
        QCOMPARE(filled(cards[0]), fields);
        QCOMPARE(cards[0].leftOut, leftOut);
    }

    void birthdays_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QDate>("date");
        QTest::newRow("4.0 basic") << QByteArray("19800404") << QDate(1980, 4, 4);
        QTest::newRow("3.0 extended with time")
            << QByteArray("1980-04-04T00:00:00Z") << QDate(1980, 4, 4);
        QTest::newRow("no year") << QByteArray("--0404") << QDate();
        QTest::newRow("no day") << QByteArray("1980-02-30") << QDate();
    }
    void birthdays() {
        QFETCH(QByteArray, value);
        QFETCH(QDate, date);
        QCOMPARE(readAll(card("4.0", "FN:A B\r\nBDAY:" + value + "\r\n"))[0].birthday, date);
    }

    // Several cards, a UTF-16 file, and 10 MB in one property: skipped,
    // named, and the cards after it read.
    void manyAndLarge() {
        const QByteArray two =
            card("3.0", "N:Prv\xC3\xBD;A;;;\r\n") + "\r\n" + card("3.0", "N:Druh\xC3\xBD;B;;;\r\n");
        QCOMPARE(readAll(two).size(), 2);
        const QString text = QString::fromUtf8(two);
        QByteArray utf16("\xFF\xFE");
        utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        const QList<TCardContact> wide = readAll(utf16, TextEncoding::Utf16LE);
        QCOMPARE(wide.size(), 2);
        QCOMPARE(wide[1].fields[1], u"Druhý"_s);
        QByteArray big =
            card("3.0", "N:A;B;;;\r\nNOTE:" + QByteArray(10'000'000, 'x') + "\r\nEMAIL:a@b.sk\r\n");
        big += card("3.0", "N:C;D;;;\r\n");
        const QList<TCardContact> cards = readAll(big);
        QCOMPARE(cards.size(), 2);
        QCOMPARE(cards[0].leftOut, QStringList{u"NOTE"_s});
        QCOMPARE(cards[0].fields[12], u"a@b.sk"_s);
        QByteArray folded = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;B;;;\r\nNOTE:x\r\n";
        for (int i = 0; i < 20000; ++i)
            folded += ' ' + QByteArray(80, 'y') + "\r\n";
        QCOMPARE(readAll(folded + "END:VCARD\r\n")[0].leftOut, QStringList{u"NOTE"_s});
        // A folded line whose next line begins around the end of the
        // reader's first 64 KiB, the CR LF before it split there too.
        const QByteArray head = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;B;;;\r\nNOTE:";
        for (int shift = -2; shift <= 2; ++shift) {
            const qsizetype padding = 65536 + shift - head.size() - 2 - 11;
            const QByteArray edge =
                head + QByteArray(padding, 'x') + "\r\nEMAIL:abc\r\n def\r\nEND:VCARD\r\n";
            QCOMPARE(edge.indexOf(" def"), 65536 + shift);
            QCOMPARE(readAll(edge)[0].fields[12], u"abcdef"_s);
        }
    }

    void brokenFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<TFormatError::Fault>("fault");
        QTest::addColumn<qint64>("line");
        QTest::newRow("no END") << card("3.0", "N:A;B;;;\r\n") + "BEGIN:VCARD\r\nN:C;D;;;\r\n"
                                << TFormatError::Fault::CardWithoutEnd << qint64(5);
        QTest::newRow("nested BEGIN")
            << QByteArray("BEGIN:VCARD\r\nN:A;B;;;\r\nBEGIN:VCARD\r\nEND:VCARD\r\nEND:VCARD\r\n")
            << TFormatError::Fault::CardInCard << qint64(3);
        QTest::newRow("END first")
            << QByteArray("\r\nEND:VCARD\r\n") << TFormatError::Fault::EndWithoutCard << qint64(2);
        QTest::newRow("not a vCard") << QByteArray("meno;priezvisko\r\nJán;Novák\r\n")
                                     << TFormatError::Fault::TextOutsideCard << qint64(1);
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

    // What the program writes reads back to the same 24 values, whatever
    // they hold; lines are folded at 75 bytes, never inside a character.
    void roundTrip() {
        TContactValues all;
        for (int i = 0; i < 24; ++i)
            all[i] = u"Ľščťžýáíé %1; a, b\\c"_s.arg(i);
        all[0] = u"Ján Peter"_s;
        all[2] = u"Dlhá ulica "_s.repeated(20) + u"\r\nsecond line"_s;
        const QByteArray written = VCardOf(all, QDate(1975, 3, 1));
        for (const QByteArray& line : written.split('\n'))
            QVERIFY2(line.size() <= 76, line.constData());
        const QList<TCardContact> cards = readAll(written);
        QCOMPARE(cards.size(), 1);
        all[2].replace(u"\r\n"_s, u"\n"_s);
        QCOMPARE(cards[0].fields, all);
        QCOMPARE(cards[0].birthday, QDate(1975, 3, 1));
        QCOMPARE(cards[0].leftOut, QStringList());
        const QList<TCardContact> person =
            readAll(BirthdayVCardOf(u"Anna Malá"_s, QDate(1990, 12, 31)));
        QCOMPARE(filled(person[0]), (QStringList{u"0=Anna"_s, u"1=Malá"_s}));
        QCOMPARE(person[0].birthday, QDate(1990, 12, 31));

        // Values whose every character takes three bytes or an escape, in
        // every field: the card's room and its folds hold (the sanitizer
        // run sees any byte written past them).
        for (QString& value : all)
            value = u"€;"_s.repeated(3000);
        const QList<TCardContact> large = readAll(VCardOf(all));
        QCOMPARE(large.size(), 1);
        QCOMPARE(large[0].fields, all);
        const QString name = u"Ľ\\,"_s.repeated(4000);
        QCOMPARE(filled(readAll(BirthdayVCardOf(name, QDate(1990, 1, 2)))[0]),
                 QStringList{u"1="_s + name});
    }

    // The name a card shows: both names, a blank between, none around.
    void shownName_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("both") << u"Ján"_s << u"Malý"_s << QByteArray("FN:Ján Malý");
        QTest::newRow("blanks") << u" Ján "_s << u" Malý\t"_s << QByteArray("FN:Ján   Malý");
        QTest::newRow("surname") << u" "_s << u" Malý "_s << QByteArray("FN:Malý");
        QTest::newRow("first") << u" Ján "_s << u"\u00A0"_s << QByteArray("FN:Ján");
        QTest::newRow("none") << QString() << QString() << QByteArray("FN:");
    }
    void shownName() {
        QFETCH(QString, first);
        QFETCH(QString, surname);
        QFETCH(QByteArray, line);
        TContactValues values;
        values[0] = first;
        values[1] = surname;
        QVERIFY2(VCardOf(values).split('\n').contains(line + '\r'), VCardOf(values).constData());
    }
};

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
