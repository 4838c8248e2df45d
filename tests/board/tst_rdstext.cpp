// Escapes, the E.1 character table, codecs, templates, RDS text files and the
// AF code lists.
#include "RdsTestDecoder.h"
#include "board/AfCodeList.h"
#include "board/RdsCharset.h"
#include "board/RdsEncoder.h"
#include "board/RdsText.h"
#include "settings/ListCodecs.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

class TestRdsText : public QObject
{
    Q_OBJECT
private slots:
    void escapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("decoded");
        QTest::addColumn<QList<int>>("positions");
        QTest::newRow("double hash") << "AB##CD" << 2 << "AB#CD" << QList<int>();
        QTest::newRow("two escapes") << "#41#42" << 2 << "AB" << QList<int>({0, 1});
        QTest::newRow("four digits") << "#00E9" << 4 << QString::fromUtf8("é") << QList<int>({0});
        QTest::newRow("four digits, shorter run") << "x#41#42" << 4 << "xAB" << QList<int>({1, 2});
        QTest::newRow("hash at the end") << "AB#" << 2 << "AB#" << QList<int>();
        QTest::newRow("hash and one character") << "AB#4" << 2 << "AB#4" << QList<int>();
        QTest::newRow("no hexadecimal") << "#ZZ" << 2 << "#ZZ" << QList<int>();
        QTest::newRow("line feed") << "a#0Ab" << 2 << "a\nb" << QList<int>({1});
    }
    void escapes()
    {
        QFETCH(QString, text);
        QFETCH(int, digits);
        QFETCH(QString, decoded);
        QFETCH(QList<int>, positions);
        QCOMPARE(RdsText::decodeEscapes(text, digits), positions);
        QCOMPARE(text, decoded);
    }

    void e1Table_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << "Abc 1" << QByteArray("Abc 1");
        QTest::newRow("dollar") << "$" << QByteArray("\xAB");
        QTest::newRow("umlauts") << QString::fromUtf8("äöüß") << QByteArray("\x91\x97\x99\x8D");
        QTest::newRow("euro and pound") << QString::fromUtf8("€£") << QByteArray("\xA9\xAA");
        QTest::newRow("currency sign") << QString::fromUtf8("¤") << QByteArray("\x24");
        QTest::newRow("greek mu") << QString(QChar(0x03BC)) << QByteArray("\xB8");
        QTest::newRow("C1 controls") << QString(QChar(0x85)) << QByteArray("?");
        QTest::newRow("not in the table") << QString::fromUtf8("ж") << QByteArray("?");
        QTest::newRow("escaped byte stays") << "#E9" << QByteArray("\xE9");
        QTest::newRow("eth") << QString::fromUtf8("Ðð") << QByteArray("\xCE\xEF");
    }
    void e1Table()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const QList<int> escapes = RdsText::decodeEscapes(text, 2);
        QCOMPARE(RdsText::toRdsCharset(text, escapes, "E.1 (Standard)", false), bytes);
        QCOMPARE(RdsText::toRdsCharset(text, escapes, "0", false), bytes); // unknown name: E.1 too
    }

    void codecs()
    {
        bool complete = false;
        QCOMPARE(RdsText::encodeWithCodec(QString::fromUtf8("é"), &complete, false, nullptr),
                 QByteArray("\xC3\xA9"));
        QVERIFY(complete);
        QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
        QCOMPARE(RdsText::encodeWithCodec("A", &complete, true, utf8), QByteArray("\xEF\xBB\xBF"
                                                                                  "A"));
        QTextCodec* utf16 = QTextCodec::codecForName("UTF-16BE");
        QCOMPARE(RdsText::encodeWithCodec("A", &complete, true, utf16), QByteArray("\xFE\xFF\x00"
                                                                                   "A",
                                                                                   4));
        QTextCodec* latin1 = QTextCodec::codecForName("ISO-8859-1");
        RdsText::encodeWithCodec(QString::fromUtf8("ж"), &complete, false, latin1);
        QVERIFY(!complete);
    }

    // The page's conversion of a text to what goes on air, in bytes mode
    // (one byte value per character) and as a preview of the receiver.
    void rdsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("preview");
        QTest::newRow("umlauts and dollar")
            << QString::fromUtf8("Grüße $5")
            << QString::fromLatin1("\x47\x72\x99\x8D\x65\x20\xAB\x35")
            << QString::fromUtf8("Grüße $5");
        QTest::newRow("yen has no code, euro has")
            << QString::fromUtf8("¥€") << QString::fromLatin1("\x3F\xA9")
            << QString::fromUtf8("?€");
        QTest::newRow("tilde previews as overline")
            << "~" << QString::fromLatin1("\x7E") << QString(QChar(0x203E));
        QTest::newRow("escaped byte against the letter")
            << QString::fromUtf8("#E4ä") << QString::fromLatin1("\xE4\x91")
            << QString::fromUtf8("ŷä");
        QTest::newRow("only hexadecimal digits escape") << "#4 now"
                                                        << "#4 now"
                                                        << "#4 now";
        QTest::newRow("literal hash") << "##41"
                                      << "#41"
                                      << "#41";
        QTest::newRow("escape to a control byte") << "#0DA"
                                                  << QString::fromLatin1("\x0D"
                                                                         "A")
                                                  << QString::fromLatin1("\x0D"
                                                                         "A");
    }
    void rdsText()
    {
        QFETCH(QString, text);
        QFETCH(QString, bytes);
        QFETCH(QString, preview);
        QString inBytes = text;
        RdsText::toRdsText(inBytes, true);
        QCOMPARE(inBytes, bytes);
        QString shown = text;
        RdsText::toRdsText(shown, false);
        QCOMPARE(shown, preview);
    }

    void shownBytes()
    {
        QCOMPARE(RdsCharset::fromRds(0xFF), u'?');
        QCOMPARE(RdsCharset::shownChar(0x0D), QLatin1Char('_'));
        QCOMPARE(RdsCharset::shownChar(0x41), QLatin1Char('A'));
        QCOMPARE(RdsCharset::shownChar(0x24), QChar(0x00A4));
        QCOMPARE(RdsText::hexView(QByteArray("AA\r\r"), QChar(0x2009)),
                 QString::fromUtf8("41\u200941\u20090d\u20090d"));
        QCOMPARE(RdsText::hexView(QByteArray("\xAB"), u' '), QStringLiteral("ab"));
        QCOMPARE(RdsText::hexView(QByteArray(), u' '), QString());
    }

    void tagMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one marker") << "Now: $1"
                                    << "Now: one";
        QTest::newRow("$10 is not $1 followed by 0") << "$10|$1"
                                                     << "sixteen|one";
        QTest::newRow("upper-case hexadecimal") << "$A $a"
                                                << "ten $a";
        QTest::newRow("an index without text keeps its marker") << "$2$0"
                                                                << "$2zero";
    }
    void tagMarkers()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QMap<int, QString> tags{{0, "zero"}, {1, "one"}, {10, "ten"}, {16, "sixteen"}};
        RdsText::replaceTagMarkers(text, tags);
        QCOMPARE(text, expected);
    }

    void templatesTakeTheSongTags()
    {
        RDSSource s;
        s.rta = "$0 - $1";
        s.rtitm = 8;
        s.rttag = {RTag{1, "Title"}, RTag{4, "Artist"}};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        encoder.setTags({{"Title", "Song #1"}, {"Artist", "Band"}});
        QString text = s.rta;
        encoder.expandTemplates(text, 2);
        QCOMPARE(text, QString::fromUtf8("Song §1 - Band"));
        s.rtitm = 0;
        encoder.setSource(s, 95.8);
        text = s.rta;
        encoder.expandTemplates(text, 2);
        QCOMPARE(text, QString("Title - Artist"));
    }

    void textFilesCycle()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList contents = {
            "# first file\nD311 0000 0000 0001\nbad line\n",
            "D311 0000 0000 0002\n\n# nothing\n",
            "junk\nD311 0000 0000 0003\n",
        };
        RDSSource s;
        s.gmin = {};
        s.fused = true;
        for (int i = 0; i < contents.size(); ++i) {
            const QString name = dir.filePath(QString("rds%1.txt").arg(i));
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contents[i].toLatin1());
            s.files << name;
        }
        s.files.insert(1, dir.filePath("missing.txt"));
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        QList<int> seen;
        for (int i = 0; i < 10; ++i) {
            quint8 out[13];
            encoder.generate(out);
            const auto g = RdsTestDecoder::unpack(out);
            seen << (g.valid() ? g.data[3] : -1);
        }
        // A missing file and a file at its end give a zero group this once.
        QCOMPARE(seen, QList<int>({1, -1, -1, 2, -1, 3, 1, -1, -1, 2}));
    }

    void afCodes_data()
    {
        QTest::addColumn<int>("afu");
        QTest::addColumn<QList<int>>("auto_");
        QTest::addColumn<QList<int>>("manual");
        QTest::addColumn<QList<int>>("regional");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("AF off") << 0 << QList<int>() << QList<int>{876} << QList<int>()
                                << QList<int>();
        QTest::newRow("method A, two FM") << 5 << QList<int>() << QList<int>{876, 1079}
                                          << QList<int>() << QList<int>{0xE353, 0x01CC};
        QTest::newRow("method A, FM then MF") << 5 << QList<int>() << QList<int>{876, 5310}
                                              << QList<int>() << QList<int>{0xE353, 0x01CD, 0xFA10};
        QTest::newRow("method A, tuned and duplicates once")
            << 7 << QList<int>{958, 876} << QList<int>{876, 1079} << QList<int>()
            << QList<int>{0xE353, 0x01CC};
        QTest::newRow("method A, out of band skipped")
            << 5 << QList<int>() << QList<int>{700, 876} << QList<int>()
            << QList<int>{0xE253, 0x01CD};
        QTest::newRow("method B, pairs with the tuned frequency")
            << 13 << QList<int>() << QList<int>{876, 1079} << QList<int>()
            << QList<int>{0xE553, 0x0153, 0x53CC};
        QTest::newRow("method B, regional swapped")
            << 13 << QList<int>() << QList<int>{876} << QList<int>{876}
            << QList<int>{0xE353, 0x5301};
    }
    void afCodes()
    {
        QFETCH(int, afu);
        QFETCH(QList<int>, auto_);
        QFETCH(QList<int>, manual);
        QFETCH(QList<int>, regional);
        QFETCH(QList<int>, codes);
        RDSSource s;
        s.afu = quint8(afu);
        for (int f : auto_)
            s.af << AFEntry{f, 0, quint8(regional.contains(f)), 0};
        for (int f : manual)
            s.afs << AFEntry{f, 0, quint8(regional.contains(f)), 0};
        RdsEncoder::buildAfTables(s, 958);
        QList<int> got;
        for (quint16 c : s.codes)
            got << c;
        QCOMPARE(got, codes);
    }

    void methodBStartsANewListForAMarkedFrequency()
    {
        RDSSource s;
        s.afu = 13;
        s.afs = {AFEntry{876, 0, 0, 0}, AFEntry{1000, AFEntry::kNegativeMarker, 0, 0},
                 AFEntry{1079, 0, 0, 0}};
        RdsEncoder::buildAfTables(s, 958);
        QCOMPARE(s.codes, QList<quint16>({0xE353, 0x0153, 0xE37D, 0x7DCC}));
    }

    // Method B lists as texts of the store: "-958" heads a list with 95.8 MHz.
    void methodBListsStandAlone_data()
    {
        QTest::addColumn<int>("tuned");
        QTest::addColumn<QString>("automatic");
        QTest::addColumn<QString>("manual");
        QTest::addColumn<QList<int>>("codes");
        const QString twoLists = QStringLiteral("-958 876 1000 -1000 876 958");
        QTest::newRow("tuned 100.0: its own list first, 87.6 in both")
            << 1000 << QString() << twoLists
            << QList<int>{0xE57D, 0x017D, 0x537D, 0xE553, 0x0153, 0x537D};
        QTest::newRow("tuned 95.8: the second list is kept")
            << 958 << QString() << twoLists
            << QList<int>{0xE553, 0x0153, 0x537D, 0xE57D, 0x017D, 0x537D};
        QTest::newRow("tuned list and a manual list with its head are one")
            << 958 << QStringLiteral("876") << QStringLiteral("-958 1079 876")
            << QList<int>{0xE553, 0x0153, 0x53CC};
        QTest::newRow("a frequency twice in one list goes out once")
            << 958 << QString() << QStringLiteral("876 876 -1000 1079 1079 1000")
            << QList<int>{0xE353, 0x0153, 0xE37D, 0x7DCC};
        QTest::newRow("no empty list for the tuned frequency")
            << 958 << QString() << QStringLiteral("-1000 876") << QList<int>{0xE37D, 0x017D};
        QTest::newRow("no empty list for a head without frequencies")
            << 958 << QString() << QStringLiteral("876 -1000 -1079") << QList<int>{0xE353, 0x0153};
        QTest::newRow("no alternatives: the tuned frequency alone")
            << 958 << QString() << QString() << QList<int>{0xE153};
    }
    void methodBListsStandAlone()
    {
        QFETCH(int, tuned);
        QFETCH(QString, automatic);
        QFETCH(QString, manual);
        QFETCH(QList<int>, codes);
        RDSSource s;
        s.afu = 1 | 2 | 4 | 8;
        s.af = afListFromText(automatic);
        s.afs = afListFromText(manual);
        RdsEncoder::buildAfTables(s, tuned);
        QList<int> got;
        for (quint16 c : s.codes)
            got << c;
        QCOMPARE(got, codes);
    }

    void methodBKeepsTheFrequencyThatOverflowsAList()
    {
        RDSSource s;
        s.afu = 13;
        for (int i = 0; i < 13; ++i)
            s.afs << AFEntry{880 + i * 10, 0, 0, 0};
        RdsEncoder::buildAfTables(s, 958);
        int pairs = 0;
        for (quint16 c : s.codes)
            pairs += (c >> 8) < 224 ? 1 : 0;
        QCOMPARE(pairs, 13);
        QCOMPARE(s.codes.first() >> 8, 224 + 25); // the largest count of a list
    }

    void afCodeBands_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("code");
        QTest::newRow("87.6 MHz") << 876 << 1;
        QTest::newRow("107.9 MHz") << 1079 << 204;
        QTest::newRow("153 kHz") << 1530 << 0xFA01;
        QTest::newRow("279 kHz") << 2790 << 0xFA0F;
        QTest::newRow("531 kHz") << 5310 << 0xFA10;
        QTest::newRow("1602 kHz") << 16020 << 0xFA87;
        QTest::newRow("108.1 MHz") << 1081 << 0xCDCD;
    }
    void afCodeBands()
    {
        QFETCH(int, frequency);
        QFETCH(int, code);
        QCOMPARE(int(AfCodeList::afCode(frequency)), code);
        // A receiver reads the code back to the same frequency.
        if (code != AfCodeList::kNoCode)
            QCOMPARE(AfCodeList::afFrequency(quint8(code), AfCodeList::isLfMf(quint16(code))),
                     frequency);
    }

    void afFrequencyOfCodesWithoutOne_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("afterLfMf");
        QTest::newRow("FM code 0") << 0 << false;
        QTest::newRow("FM filler") << 205 << false;
        QTest::newRow("FM count") << 227 << false;
        QTest::newRow("250 itself") << 250 << false;
        QTest::newRow("LF/MF code 0") << 0 << true;
        QTest::newRow("LF/MF beyond 1602 kHz") << 136 << true;
        QTest::newRow("LF/MF filler") << 205 << true;
    }
    void afFrequencyOfCodesWithoutOne()
    {
        QFETCH(int, code);
        QFETCH(bool, afterLfMf);
        QCOMPARE(AfCodeList::afFrequency(quint8(code), afterLfMf), 0);
    }

    void afCount_data()
    {
        QTest::addColumn<int>("afu");
        QTest::addColumn<QList<int>>("auto_");
        QTest::addColumn<QList<int>>("manual");
        QTest::addColumn<int>("count");
        QTest::newRow("AF off") << 0 << QList<int>{876} << QList<int>{1000} << 0;
        QTest::newRow("the tuned frequency is no alternative")
            << 3 << QList<int>{958, 876} << QList<int>{} << 1;
        QTest::newRow("a frequency in both lists counts once")
            << 7 << QList<int>{876, 1000} << QList<int>{1000, 1530} << 3;
        QTest::newRow("off-band frequencies are not offered")
            << 5 << QList<int>{} << QList<int>{1081, 600, 876} << 1;
        QTest::newRow("method A counts beyond the 24 it places")
            << 5 << QList<int>{} << frequencies(26) << 26;
        QTest::newRow("method B counts every list") << 13 << QList<int>{} << frequencies(26) << 26;
    }
    void afCount()
    {
        QFETCH(int, afu);
        QFETCH(QList<int>, auto_);
        QFETCH(QList<int>, manual);
        QFETCH(int, count);
        RDSSource s;
        s.afu = quint8(afu);
        for (int f : auto_)
            s.af << AFEntry{f, 0, 0, 0};
        for (int f : manual)
            s.afs << AFEntry{f, 0, 0, 0};
        QCOMPARE(RdsEncoder::buildAfTables(s, 958), count);
        QCOMPARE(AfCodeList::build(s, 958), count);
    }

private:
    static QList<int> frequencies(int count)
    {
        QList<int> list;
        for (int i = 0; i < count; ++i)
            list << 876 + 2 * i; // 87.6 MHz upward, below the tuned 95.8
        return list;
    }
};

QTEST_GUILESS_MAIN(TestRdsText)
#include "tst_rdstext.moc"
