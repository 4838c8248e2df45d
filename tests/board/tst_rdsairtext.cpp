// The air bytes of each text of an RDS source, as the encoder's segments
// carry them, read back by the tests' own RDS decoder.
#include "RdsTestDecoder.h"

#include "board/RdsAirText.h"
#include "board/RdsEncoder.h"

#include <QTest>

Q_DECLARE_METATYPE(RDSSource)

namespace {

constexpr int kGroups = 4000; // every segment of every text many times over
constexpr int kErtGroup = 12;

enum Text
{
    RadioTextA,
    RadioTextB,
    LongPs,
    EnhancedA,
};

// A source that sends RadioText, long PS and eRT in 12A, nothing else.
RDSSource plainSource()
{
    RDSSource s;
    s.endx = 0;
    s.rtxt = 0;
    s.rpb = 0;
    s.rpd = 0;
    s.ertg = kErtGroup;
    s.gmin = {};
    for (int type : {2, 15, kErtGroup}) {
        s.gmin[type].on = 1;
        s.gmin[type].rate[0] = 60;
    }
    return s;
}

} // namespace

class TestRdsAirText : public QObject
{
    Q_OBJECT
private slots:
    void encoderSendsTheAirBytes_data()
    {
        QTest::addColumn<int>("text");
        QTest::addColumn<RDSSource>("source");
        QTest::addColumn<QString>("air");
        QTest::addColumn<int>("textSize");

        RDSSource s = plainSource();
        s.rta = "AAA";
        s.rtxg = 1;
        s.endx = 0x01;
        QTest::newRow("2B, ended, odd length") << int(RadioTextA) << s << "4141410d" << 3;
        s.rta = "AA";
        s.endx = 0;
        QTest::newRow("2B, not ended, whole segment") << int(RadioTextA) << s << "4141" << 2;
        s = plainSource();
        s.rtxg = 2;
        s.rta = "AB";
        s.rtb = "CD";
        s.endx = 0x03;
        QTest::newRow("2A+2B: A in 2A") << int(RadioTextA) << s << "41420d0d" << 2;
        QTest::newRow("2A+2B: B in 2B") << int(RadioTextB) << s << "43440d0d" << 2;
        s = plainSource();
        s.rta = QString(64, 'x');
        s.endx = 0x01;
        QTest::newRow("RadioText filling its room takes no end")
            << int(RadioTextA) << s << QString(QByteArray(64, 'x').toHex()) << 64;
        s.rta = QString();
        s.endx = 0;
        QTest::newRow("empty RadioText: one segment of end characters")
            << int(RadioTextA) << s << "0d0d0d0d" << 0;

        s = plainSource();
        s.lps = "ABCD";
        QTest::newRow("long PS of whole segments: one more of 0x00")
            << int(LongPs) << s << "4142434400000000" << 4;
        s.lps = QString(31, 'y');
        s.endx = 0x10;
        s.endl = 0xE4; // two bytes in UTF-8: no room for them
        QTest::newRow("long PS end character without room")
            << int(LongPs) << s << QString(QByteArray(31, 'y').toHex() + "00") << 31;
        s.lps = "#00E9";
        s.clps = "UTF-16LE";
        s.boml = 1;
        s.endl = 0x0D;
        QTest::newRow("long PS in UTF-16 with mark and end")
            << int(LongPs) << s << "fffee9000d000000" << 4;

        s = plainSource();
        s.rtc = "AB";
        s.enc = "utf-16le";
        s.endx = 0x04;
        s.rtxt = 0x04;
        QTest::newRow("eRT in utf-16le with mark and end")
            << int(EnhancedA) << s << "fffe410042000d00" << 6;
        s.rtc = QString(128, 'z');
        s.enc = "UTF-8";
        s.rtxt = 0;
        QTest::newRow("eRT filling its room takes no end")
            << int(EnhancedA) << s << QString(QByteArray(128, 'z').toHex()) << 128;
    }

    void encoderSendsTheAirBytes()
    {
        QFETCH(int, text);
        QFETCH(RDSSource, source);
        QFETCH(QString, air);
        QFETCH(int, textSize);

        RdsAirText::Bytes bytes;
        int index = 2;
        int mask = 15;
        int segmentBytes = 4;
        switch (text) {
        case RadioTextA:
        case RadioTextB: {
            const int which = text == RadioTextB ? 1 : 0;
            bytes = RdsAirText::radioText(source, which, {});
            const bool versionB = RdsAirText::radioTextWidth(source, which) == 2;
            index = versionB ? 18 : 2;
            segmentBytes = versionB ? 2 : 4;
            break;
        }
        case LongPs:
            bytes = RdsAirText::longPs(source);
            index = 15;
            mask = 7;
            break;
        default:
            bytes = RdsAirText::enhancedText(source, 0, {});
            index = kErtGroup;
            mask = 31;
            break;
        }
        QCOMPARE(QString::fromLatin1(bytes.bytes.toHex()), air);
        QCOMPARE(bytes.textSize, textSize);

        RdsEncoder encoder;
        encoder.setSource(source, 95.8);
        RdsTestDecoder decoder;
        quint8 group[RdsEncoder::kGroupBytes];
        for (int i = 0; i < kGroups; ++i) {
            encoder.generate(group);
            QVERIFY(decoder.add(group));
        }
        QCOMPARE(QString::fromLatin1(decoder.sentText(index, mask, segmentBytes).toHex()), air);
    }

    // A character the RDS table lacks is reported; '?' itself and escaped
    // bytes are codes.
    void missingCodesAreReported_data()
    {
        QTest::addColumn<QString>("ps");
        QTest::addColumn<QByteArray>("crt");
        QTest::addColumn<bool>("encodable");
        QTest::newRow("letters") << QString::fromUtf8("Grüße") << QByteArray() << true;
        QTest::newRow("question mark") << "?" << QByteArray() << true;
        QTest::newRow("escaped byte") << "#FF" << QByteArray() << true;
        QTest::newRow("zhe") << QString::fromUtf8("ж") << QByteArray() << false;
        QTest::newRow("yen") << QString::fromUtf8("¥") << QByteArray("E.1 (Standard)") << false;
        QTest::newRow("zhe in UTF-8") << QString::fromUtf8("ж") << QByteArray("utf-8") << true;
        QTest::newRow("zhe in Latin-1")
            << QString::fromUtf8("ж") << QByteArray("ISO-8859-1") << false;
    }

    void missingCodesAreReported()
    {
        QFETCH(QString, ps);
        QFETCH(QByteArray, crt);
        QFETCH(bool, encodable);
        RDSSource s;
        s.ps = ps;
        s.crt = crt;
        QCOMPARE(RdsAirText::ps(s).encodable, encodable);
    }
};

QTEST_MAIN(TestRdsAirText)
#include "tst_rdsairtext.moc"
