// The byte views and counters of the RDS page against what the encoder
// sends for the same stored source, read back by the tests' own RDS decoder;
// and the codec choices of a source surviving an unrelated edit.
#include "RdsFormKit.h"
#include "RdsTestDecoder.h"

#include "board/RdsEncoder.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextCodec>
#include <QToolButton>

namespace {

constexpr int kGroups = 6000; // every text segment of every group type, many times over
constexpr int kErtGroup = 9;  // the eRT group type of a new source
constexpr int kPsGroup = 16;  // 0B: a source without AF lists sends its PS there

// One text of the page: the field typed into, the byte view, its counter,
// the widget coloured when a character has no code, and where the text
// travels on air (group index, segment address bits, bytes per segment).
struct TextPlace
{
    const char* field;
    const char* counter;
    const char* marked;
    const char* hexButton; // nullptr: the view is the field's tool tip
    const char* view;
    int group;
    int addressMask;
    int segmentBytes;
};

TextPlace placeOf(const QString& kind)
{
    if (kind == "PS")
        return {"PS", "CPS", "PS", nullptr, nullptr, kPsGroup, 3, 2};
    if (kind == "LPS")
        return {"LPS", "CLPS", "LPS", nullptr, nullptr, 15, 7, 4};
    if (kind == "RTA")
        return {"RTA", "CtextA", "plainA", "hexrt", "plainA", 2, 15, 4};
    return {"RTC", "CtextC", "plainC", "hexer", "plainC", kErtGroup, 31, 4};
}

RDSSource sourceOf(const QString& kind, const QString& text, const QByteArray& codec, bool forced,
                   int end)
{
    RDSSource s;
    s.endx = 0;
    s.rtxt = 0; // no byte order marks
    s.rpb = 0;
    s.rpd = 0;
    s.ertg = kErtGroup;
    if (kind == "PS") {
        s.ps = text;
        s.crt = codec;
    } else if (kind == "LPS") {
        s.lps = text;
        s.clps = codec;
        s.endl = quint8(end);
        s.endx = forced ? 0x10 : 0;
    } else if (kind == "RTA") {
        s.rta = text;
        s.crt = codec;
        s.enda = quint8(end);
        s.endx = forced ? 0x01 : 0;
    } else {
        s.rtc = text;
        s.enc = codec;
        s.endc = quint8(end);
        s.endx = forced ? 0x04 : 0;
    }
    return s;
}

QByteArray sent(const RDSSource& source, const TextPlace& place)
{
    RdsEncoder encoder;
    encoder.setSource(source, 95.8);
    RdsTestDecoder decoder;
    quint8 group[RdsEncoder::kGroupBytes];
    for (int i = 0; i < kGroups; ++i) {
        encoder.generate(group);
        decoder.add(group);
    }
    return decoder.sentText(place.group, place.addressMask, place.segmentBytes);
}

QString hexOf(QString view)
{
    return view.remove(QChar(0x2009));
}

QList<QByteArray> codecNames()
{
    QList<QByteArray> names;
    for (const QByteArray& name : QTextCodec::availableCodecs()) {
        names << name << name.toLower() << name.toUpper();
    }
    names << QByteArrayLiteral("no-such-codec") << QByteArray();
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace

class TestTabRDSAirBytes : public QObject
{
    Q_OBJECT
private slots:
    void viewsShowTheAir_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("air");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("marked");

        // eRT: the end character is a character in the codec, the filler 0x00.
        QTest::newRow("eRT A, UTF-8, ended")
            << "RTC"
            << "A" << QByteArray("UTF-8") << true << 0x0D << "410d0000" << 1 << false;
        QTest::newRow("eRT A, UTF-8, not ended")
            << "RTC"
            << "A" << QByteArray("UTF-8") << false << 0x0D << "41000000" << 1 << false;
        QTest::newRow("eRT AA, UTF-16LE, ended")
            << "RTC"
            << "AA" << QByteArray("UTF-16LE") << true << 0x0D << "410041000d000000" << 4 << false;
        QTest::newRow("eRT end above 0x7F in UTF-8")
            << "RTC"
            << "A" << QByteArray("UTF-8") << true << 0xE4 << "41c3a400" << 1 << false;
        // Long PS: escapes first, then the end character in the codec.
        QTest::newRow("long PS end 0xE4 in UTF-8")
            << "LPS"
            << "AB" << QByteArray("UTF-8") << true << 0xE4 << "4142c3a400000000" << 4 << false;
        QTest::newRow("long PS end never completes an escape")
            << "LPS"
            << "ABC#4" << QByteArray("UTF-8") << true << 0x41 << "4142432334410000" << 6 << false;
        QTest::newRow("long PS escape, not ended")
            << "LPS"
            << "#41#00E9" << QByteArray("UTF-8") << false << 0x0D << "41c3a900" << 3 << false;
        // The shown source's own coding, from the moment it is loaded.
        QTest::newRow("PS in GB18030") << "PS" << QString::fromUtf8("ü") << QByteArray("GB18030")
                                       << false << 0 << "a8b9202020202020" << 2 << false;
        QTest::newRow("RadioText in GB18030")
            << "RTA" << QString::fromUtf8("ü") << QByteArray("GB18030") << true << 0x0D
            << "a8b90d0d" << 2 << false;
        QTest::newRow("PS in utf-8, lower case")
            << "PS" << QString::fromUtf8("Grüße") << QByteArray("utf-8") << false << 0
            << "4772c3bcc39f6520" << 7 << false;
        QTest::newRow("long PS in utf-16le, lower case")
            << "LPS"
            << "AB" << QByteArray("utf-16le") << false << 0 << "4100420000000000" << 4 << false;
        // RDS table E.1: a character without a code goes out as '?', and is marked.
        QTest::newRow("PS zhe has no code") << "PS" << QString::fromUtf8("Aж") << QByteArray()
                                            << false << 0 << "413f202020202020" << 2 << true;
        QTest::newRow("RadioText yen has no code")
            << "RTA" << QString::fromUtf8("¥") << QByteArray("E.1 (Standard)") << true << 0x0D
            << "3f0d0d0d" << 1 << true;
        QTest::newRow("RadioText question mark is a code")
            << "RTA"
            << "?" << QByteArray("E.1 (Standard)") << false << 0x0D << "3f0d0d0d" << 1 << false;
        QTest::newRow("RadioText AAAA ended")
            << "RTA"
            << "AAAA" << QByteArray() << true << 0x0D << "414141410d0d0d0d" << 4 << false;
    }

    void viewsShowTheAir()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QByteArray, codec);
        QFETCH(bool, forced);
        QFETCH(int, end);
        QFETCH(QString, air);
        QFETCH(int, count);
        QFETCH(bool, marked);
        const TextPlace place = placeOf(kind);
        RdsFormKit kit(sourceOf(kind, text, codec, forced, end));
        const QColor normal = kit.page->palette().color(QPalette::Base);

        QString view;
        if (place.hexButton) {
            kit.find<QToolButton>(place.hexButton)->click();
            view = kit.find<QPlainTextEdit>(place.view)->toPlainText();
        } else {
            view = kit.find<QLineEdit>(place.field)->toolTip();
        }
        QCOMPARE(hexOf(view), air);
        QCOMPARE(kit.find<QSpinBox>(place.counter)->value(), count);
        const QColor base = kit.find<QWidget>(place.marked)->palette().color(QPalette::Base);
        QCOMPARE(base != normal, marked);

        // The encoder, fed the stored source, sends exactly these bytes.
        const RDSSource stored = kit.store->rdsSource(kit.id);
        QCOMPARE(QString::fromLatin1(sent(stored, place).toHex()), air);
    }

    // Every codec name the toolkit offers, in any letter case, an unknown
    // name and none: loaded and saved by an unrelated click, the codec keys
    // stay as stored, and the eRT UTF-8 flag keeps agreeing with the codec.
    void codecNamesSurviveAnEdit_data()
    {
        QTest::addColumn<QByteArray>("name");
        for (const QByteArray& name : codecNames())
            QTest::newRow(name.isEmpty() ? "(none)" : name.constData()) << name;
    }

    void codecNamesSurviveAnEdit()
    {
        QFETCH(QByteArray, name);
        if (!kit)
            kit = std::make_unique<RdsFormKit>();
        const bool utf8 = QTextCodec::codecForName(name)
                              ? QTextCodec::codecForName(name) == QTextCodec::codecForName("UTF-8")
                              : true; // the encoder takes UTF-8 for a name it does not know
        RDSSource s;
        s.pi = quint16(0x1000 + ++loads); // tells when the page shows this row's source
        s.crt = name;
        s.enc = name;
        s.clps = name;
        s.ertb = utf8 ? 1 : 0;
        s.tp = 0;
        kit->store->setRDS(kit->id, s);
        const QString pi = QString::number(s.pi, 16).toUpper();
        QTRY_COMPARE_WITH_TIMEOUT(kit->find<QLineEdit>("PI")->text(), pi, RdsFormKit::kWaitMs);

        click(kit->find<QAbstractButton>("TP"));
        RdsFormKit::settle();
        QCOMPARE(kit->key("tp").toInt(), 1);
        QCOMPARE(kit->key("crt").toByteArray(), name);
        QCOMPARE(kit->key("enc").toByteArray(), name);
        QCOMPARE(kit->key("clps").toByteArray(), name);
        QCOMPARE(kit->key("ertb").toInt(), int(s.ertb));
    }

    void cleanupTestCase() { kit.reset(); }

private:
    std::unique_ptr<RdsFormKit> kit;
    int loads = 0;
};

QTEST_MAIN(TestTabRDSAirBytes)
#include "tst_tabrdsairbytes.moc"
