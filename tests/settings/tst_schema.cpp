// The parameter schema: its entries and the band-dependent frequency bounds.
#include "settings/FMSettings.h"
#include "settings/ParameterSchema.h"

#include <QTemporaryDir>
#include <QTest>

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FMSettings::defineKeys(); }

    void holdsEveryKeyOnce();
    void entries_data();
    void entries();
    void listEntriesEndWithADot();
    void frequencyBoundsFollowTheBand_data();
    void frequencyBoundsFollowTheBand();
    void newProjectRestoresTheTableBounds();
};

void TestSchema::holdsEveryKeyOnce()
{
    QCOMPARE(ParameterSchema::entries().size(), 146);
    for (const QString& key : ParameterSchema::entries().keys())
        QCOMPARE(key, key.toLower());
}

void TestSchema::entries_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("help");

    const int list = KeyInfo::List;
    QTest::newRow("channel.freq") << "channel.freq" << int(KeyInfo::Double) << 76.0 << 108.0 << 0.05
                                  << "MHz"
                                  << "channel transmission frequency";
    QTest::newRow("gain has a step")
        << "channel.gain" << int(KeyInfo::Integer) << -60.0 << 0.0 << 1.0 << "dB"
        << "channel gain 0 (full power) to -60 (noise-floor)";
    QTest::newRow("micro sign unit")
        << "channel.emph" << int(KeyInfo::Integer) << 0.0 << 2.0 << 0.0
        << QString::fromUtf8("\xC2\xB5s") << "channel preemphasis 0=none 1=50us 2=75us";
    QTest::newRow("rate accepts a span")
        << "channel.rate" << int(KeyInfo::Integer) << 32000.0 << 48000.0 << 0.0 << "Hz"
        << "channel sample rate (32000, 44100, 48000)";
    QTest::newRow("aof is a double")
        << "channel.aof" << int(KeyInfo::Double) << -1000.0 << 1000.0 << 0.0 << ""
        << "channel gain offset (deprecated)";
    QTest::newRow("att string without bounds")
        << "channel.att" << int(KeyInfo::String) << 0.0 << 0.0 << 0.0 << ""
        << "channel gain unit (deprecated)";
    QTest::newRow("idrds reaches int32 min")
        << "channel.idrds" << int(KeyInfo::IdLink) << -2147483648.0 << 2147483647.0 << 0.0 << "rds"
        << "channel rds source id";
    QTest::newRow("idaudio starts at 0")
        << "channel.idaudio" << int(KeyInfo::IdLink) << 0.0 << 2147483647.0 << 0.0 << "audio"
        << "channel audio source id";
    QTest::newRow("playlist item")
        << "playlist." << (list | KeyInfo::String) << 0.0 << 0.0 << 1.0 << ""
        << "playlist file";
    QTest::newRow("pi is hexadecimal")
        << "rds.pi" << int(KeyInfo::Hex) << 0.0 << 65535.0 << 0.0 << ""
        << "rds program identifier";
    QTest::newRow("rttag list without type") << "rds.rttag." << list << 0.0 << 0.0 << 2.0 << ""
                                             << "rds radio text tag";
    QTest::newRow("pn1 length") << "rds.pn1" << int(KeyInfo::String) << 0.0 << 8.0 << 0.0 << ""
                                << "rds program type name 1";
    QTest::newRow("tmcsi links tmc")
        << "rds.tmcsi" << int(KeyInfo::IdLink) << 0.0 << 50.0 << 0.0 << "tmc"
        << "rds tmc source id";
    QTest::newRow("afs range") << "rds.afs" << (list | KeyInfo::Integer) << -16100.0 << 16100.0
                               << 0.0 << ""
                               << "rds manual AF list (* 0.1 = MHz/kHz)";
    QTest::newRow("days") << "rds.days" << int(KeyInfo::Integer) << 0.0 << 73048.0 << 0.0 << "d"
                          << "rds group 4 fix date in days since 1.3.1900";
    QTest::newRow("fix help") << "rds.fix" << int(KeyInfo::Integer) << 0.0 << 255.0 << 0.0 << ""
                              << "rds error gen fix 1=checkword | 2=group | 4=PI | &128=exact ber "
                                 "bits per group";
    QTest::newRow("gmin item") << "rds.gmin." << (list | KeyInfo::Integer) << -685.0 << 685.0 << 5.0
                               << "G/min"
                               << "rds rates [0=off|1=on] stream1 stream2 stream3 stream4";
    QTest::newRow("gmin 2") << "rds.gmin.2" << (list | KeyInfo::Integer) << -685.0 << 685.0 << 5.0
                            << "G/min"
                            << "rds group 2A or 2B rates";
    QTest::newRow("gmin 15") << "rds.gmin.15" << (list | KeyInfo::Integer) << -685.0 << 685.0 << 5.0
                             << "G/min"
                             << "rds group 15A rates";
    QTest::newRow("eon item") << "rds.eon." << (list | KeyInfo::Hex) << 0.0 << 0.0 << 6.0 << ""
                              << "rds eon channel PI PTY TP TA link";
    QTest::newRow("eon af from 876")
        << "rds.eon.af" << (list | KeyInfo::Integer) << 876.0 << 16100.0 << 0.0 << "MHz"
        << "rds eon alternative frequencies * 10 (958 -> 95.8 MHz)";
    QTest::newRow("oda item") << "rds.oda." << (list | KeyInfo::Hex) << 0.0 << 0.0 << 13.0 << ""
                              << "rds2 ODA data: A B C D cwA cwB cwC cwD G0min G1min G2min "
                                 "G3min active";
    QTest::newRow("mode from 1") << "rds.mode" << int(KeyInfo::Integer) << 1.0 << 127.0 << 0.0 << ""
                                 << "rds2 streams to use bitmask (use stream 0, 1 and 3: "
                                    "1+2+8 = 11)";
    QTest::newRow("tmc ltn") << "tmc.ltn" << int(KeyInfo::Integer) << 0.0 << 63.0 << 0.0 << ""
                             << "tmc LTN location table number (in va0)";
    QTest::newRow("tmc skt") << "tmc.skt." << (list | KeyInfo::Hex) << 0.0 << 65535.0 << 32.0 << ""
                             << "tmc service key table";
    QTest::newRow("tmc message") << "tmc." << (list | KeyInfo::Integer) << 0.0 << 0.0 << 0.0 << ""
                                 << "tmc duration extent event place send labels";
    QTest::newRow("get help entry") << "get" << int(KeyInfo::None) << 0.0 << 0.0 << 0.0 << ""
                                    << "usage: GET key (get value for key) example: GET rds.1.ps";
    QTest::newRow("attn to -31") << "board.attn" << int(KeyInfo::Integer) << -31.0 << 0.0 << 0.0
                                 << "dB"
                                 << "attenuate HF signal";
    QTest::newRow("board.gmin") << "board.gmin" << int(KeyInfo::None) << 0.0 << 0.0 << 0.0 << ""
                                << "rds transmission rates are give in groups per mintue (old: "
                                   "dsec if key is not present)";
}

void TestSchema::entries()
{
    QFETCH(QString, key);
    QVERIFY2(ParameterSchema::contains(key), qPrintable(key));
    const KeyInfo info = ParameterSchema::info(key);
    QTEST(info.type, "type");
    QTEST(info.min, "min");
    QTEST(info.max, "max");
    QTEST(info.step, "step");
    QTEST(info.unit, "unit");
    QTEST(info.help, "help");
}

void TestSchema::listEntriesEndWithADot()
{
    QStringList lists;
    for (auto it = ParameterSchema::entries().cbegin(); it != ParameterSchema::entries().cend();
         ++it)
        if (it.key().endsWith(QLatin1Char('.')))
            lists.append(it.key());
    QCOMPARE(lists, (QStringList{"playlist.", "rds.eon.", "rds.gmin.", "rds.oda.", "rds.rttag.",
                                 "tmc.", "tmc.skt."}));
    QVERIFY(!ParameterSchema::contains(QStringLiteral("channel")));
    QVERIFY(!ParameterSchema::contains(QStringLiteral("board")));
    QVERIFY(!ParameterSchema::contains(QStringLiteral("rds.gmin.16")));
}

void TestSchema::frequencyBoundsFollowTheBand_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("EU") << 0 << 87.5 << 108.0;
    QTest::newRow("Japan") << 1 << 76.0 << 95.0;
    QTest::newRow("Brazil") << 2 << 76.0 << 108.0;
    QTest::newRow("above the bands clamps to Brazil") << 7 << 76.0 << 108.0;
    QTest::newRow("below the bands clamps to EU") << -3 << 87.5 << 108.0;
}

void TestSchema::frequencyBoundsFollowTheBand()
{
    QFETCH(int, band);
    QTemporaryDir dir;
    FMSettings store(dir.filePath(QStringLiteral("default.fm")));
    int attn = 0;
    store.setBandAttn(band, attn);
    const KeyInfo info = ParameterSchema::info(QStringLiteral("channel.freq"));
    QTEST(info.min, "min");
    QTEST(info.max, "max");
    QCOMPARE(info.step, 0.05);
    QCOMPARE(info.unit, QStringLiteral("MHz"));
}

void TestSchema::newProjectRestoresTheTableBounds()
{
    QTemporaryDir dir;
    FMSettings first(dir.filePath(QStringLiteral("a.fm")));
    int band = 1;
    int attn = 0;
    first.setBandAttn(band, attn);
    QCOMPARE(ParameterSchema::info(QStringLiteral("channel.freq")).max, 95.0);
    FMSettings::defineKeys();
    QCOMPARE(ParameterSchema::info(QStringLiteral("channel.freq")).min, 76.0);
    QCOMPARE(ParameterSchema::info(QStringLiteral("channel.freq")).max, 108.0);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
