// Command items and command datagrams against bytes worked out by hand from
// the board's item table (tag, length in the tag's low byte, value).
#include "board/BandTable.h"
#include "board/BoardCommand.h"
#include "board/SynthWords.h"
#include "settings/ChannelConfig.h"

#include <QTest>

Q_DECLARE_METATYPE(BoardType)

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray wordsHex(const SynthWords::Words& words)
{
    QByteArray bytes;
    for (quint16 word : words) {
        bytes.append(char(word >> 8));
        bytes.append(char(word & 0xFF));
    }
    return bytes;
}

ChannelConfig channelFive()
{
    ChannelConfig config;
    config.channel = 5;
    config.used = true;
    config.freq = 95.0;
    config.gain = -6;
    config.volm = 40;
    config.devi = 75;
    config.emph = 1;
    config.rate = 44100;
    return config;
}

} // namespace

class TestBoardCommand : public QObject
{
    Q_OBJECT

private slots:
    void attenuation_data();
    void attenuation();
    void gain_data();
    void gain();
    void volume_data();
    void volume();
    void rateCode_data();
    void rateCode();
    void deviation_data();
    void deviation();
    void carrier_data();
    void carrier();
    void synthWords_data();
    void synthWords();
    void bandConfig_data();
    void bandConfig();
    void programmeCommands_data();
    void programmeCommands();
};

void TestBoardCommand::attenuation_data()
{
    QTest::addColumn<BoardType>("type");
    QTest::addColumn<bool>("onAir");
    QTest::addColumn<int>("attn");
    QTest::addColumn<int>("code");
    QTest::newRow("KXWB -10 dB on air") << BoardType::KXWB << true << -10 << 10;
    QTest::newRow("kXWB -10 dB on air") << BoardType::KXWBLower << true << -10 << 10;
    QTest::newRow("QRV4 -10 dB on air") << BoardType::QRV4 << true << -10 << 40;
    QTest::newRow("KXWB 0 dB on air") << BoardType::KXWB << true << 0 << 0;
    QTest::newRow("KXWB -31 dB on air") << BoardType::KXWB << true << -31 << 31;
    QTest::newRow("QRV4 -31 dB on air") << BoardType::QRV4 << true << -31 << 124;
    QTest::newRow("KXWB off air") << BoardType::KXWB << false << -10 << 31;
    QTest::newRow("QRV4 off air") << BoardType::QRV4 << false << -10 << 127;
}

void TestBoardCommand::attenuation()
{
    QFETCH(BoardType, type);
    QFETCH(bool, onAir);
    QFETCH(int, attn);
    QFETCH(int, code);
    QCOMPARE(int(BoardCommand::attenuation(type, onAir, attn)), code);
}

void TestBoardCommand::gain_data()
{
    QTest::addColumn<int>("dB");
    QTest::addColumn<int>("value");
    QTest::newRow("0 dB is full scale") << 0 << 65535;
    QTest::newRow("-6 dB") << -6 << 32845;
    QTest::newRow("-20 dB") << -20 << 6554; // 6553.5 rounds up
    QTest::newRow("-60 dB") << -60 << 66;
    QTest::newRow("above 0 dB is clamped") << 3 << 65535;
}

void TestBoardCommand::gain()
{
    QFETCH(int, dB);
    QFETCH(int, value);
    QCOMPARE(int(BoardCommand::gain(dB)), value);
}

void TestBoardCommand::volume_data()
{
    QTest::addColumn<bool>("mute");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("value");
    QTest::newRow("100 %") << false << 100 << 65535;
    QTest::newRow("40 %") << false << 40 << 26214;
    QTest::newRow("1 % rounds half up") << false << 1 << 655;
    QTest::newRow("muted at 100 %") << true << 100 << 0;
    QTest::newRow("muted at 40 %") << true << 40 << 0;
    QTest::newRow("above 100 % is clamped") << false << 120 << 65535;
}

void TestBoardCommand::volume()
{
    QFETCH(bool, mute);
    QFETCH(int, percent);
    QFETCH(int, value);
    QCOMPARE(int(BoardCommand::volume(mute, percent)), value);
}

void TestBoardCommand::rateCode_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("code");
    QTest::newRow("48000") << 48000 << 2;
    QTest::newRow("32000") << 32000 << 0;
    QTest::newRow("44100") << 44100 << 1;
    QTest::newRow("22050 counts as other") << 22050 << 1;
    QTest::newRow("0 counts as other") << 0 << 1;
}

void TestBoardCommand::rateCode()
{
    QFETCH(int, rate);
    QFETCH(int, code);
    QCOMPARE(int(BoardCommand::rateCode(rate)), code);
}

void TestBoardCommand::deviation_data()
{
    QTest::addColumn<BoardType>("type");
    QTest::addColumn<int>("kHz");
    QTest::addColumn<int>("value");
    QTest::newRow("KXWB 75 kHz") << BoardType::KXWB << 75 << 37283;
    QTest::newRow("kXWB 75 kHz") << BoardType::KXWBLower << 75 << 37283;
    QTest::newRow("QRV4 75 kHz") << BoardType::QRV4 << 75 << 16777;
    QTest::newRow("KXWB 50 kHz") << BoardType::KXWB << 50 << 24855; // 24855.1
    QTest::newRow("QRV4 0 kHz") << BoardType::QRV4 << 0 << 0;
}

void TestBoardCommand::deviation()
{
    QFETCH(BoardType, type);
    QFETCH(int, kHz);
    QFETCH(int, value);
    QCOMPARE(int(BoardCommand::deviation(type, kHz)), value);
}

void TestBoardCommand::carrier_data()
{
    QTest::addColumn<BoardType>("type");
    QTest::addColumn<int>("band");
    QTest::addColumn<double>("mhz");
    QTest::addColumn<int>("section");
    QTest::addColumn<quint32>("word");
    // KXWB: (f - LO) * 2^24 / 33.75, half away from zero, low 24 bits.
    QTest::newRow("KXWB band 0, 95.0 below split")
        << BoardType::KXWB << 0 << 95.0 << 0 << 0x0f2b9du;
    QTest::newRow("KXWB band 0, 97.99 just below split")
        << BoardType::KXWB << 0 << 97.99 << 0 << 0x25d99eu;
    QTest::newRow("KXWB band 0, 98.0 at split uses LO1")
        << BoardType::KXWB << 0 << 98.0 << 1 << 0xda12f7u;
    QTest::newRow("KXWB band 0, 100.0 negative word")
        << BoardType::KXWB << 0 << 100.0 << 1 << 0xe93e94u;
    QTest::newRow("kXWB band 0, 95.0 like KXWB")
        << BoardType::KXWBLower << 0 << 95.0 << 0 << 0x0f2b9du;
    QTest::newRow("KXWB band 1, 85.0 at split is LO1 - 5")
        << BoardType::KXWB << 1 << 85.0 << 1 << (quint32(-2485513) & 0xFFFFFF);
    // QRV4: (f - centre) / 18.75 * 2^24, truncated, sections of 8 MHz.
    QTest::newRow("QRV4 83.99 section 0") << BoardType::QRV4 << 0 << 83.99 << 0 << 0x367a0fu;
    QTest::newRow("QRV4 84.0 section 1") << BoardType::QRV4 << 0 << 84.0 << 1 << 0xc962fdu;
    QTest::newRow("QRV4 91.0 section 1") << BoardType::QRV4 << 0 << 91.0 << 1 << 0x28f5c2u;
    QTest::newRow("QRV4 92.0 section 2") << BoardType::QRV4 << 0 << 92.0 << 2 << 0xc962fdu;
    QTest::newRow("QRV4 99.9 section 2") << BoardType::QRV4 << 0 << 99.9 << 2 << 0x353f7cu;
    QTest::newRow("QRV4 100.0 section 3") << BoardType::QRV4 << 0 << 100.0 << 3 << 0xc962fdu;
    QTest::newRow("QRV4 108.0 section 3") << BoardType::QRV4 << 0 << 108.0 << 3 << 0x369d03u;
}

void TestBoardCommand::carrier()
{
    QFETCH(BoardType, type);
    QFETCH(int, band);
    QFETCH(double, mhz);
    QFETCH(int, section);
    QFETCH(quint32, word);
    quint8 sec = 0xFF;
    QCOMPARE(BoardCommand::carrierWord(type, mhz, BandTable::forBand(band), &sec), word);
    QCOMPARE(int(sec), section);
}

void TestBoardCommand::synthWords_data()
{
    QTest::addColumn<bool>("lower");
    QTest::addColumn<double>("lo");
    QTest::addColumn<QByteArray>("words");
    QTest::newRow("KXWB 93 MHz") << false << 93.0 << hex("b03f 7627 627e 1902 0000 0000 0000");
    QTest::newRow("KXWB 103 MHz") << false << 103.0 << hex("b03f d89d 897e 1902 0000 0000 0000");
    QTest::newRow("KXWB 80 MHz") << false << 80.0 << hex("b03f f627 627e 1882 0000 0000 0000");
    QTest::newRow("kXWB 93 MHz") << true << 93.0 << hex("befb 0ca8 3627 6200 1924 6c4e c400");
    QTest::newRow("kXWB 103 MHz") << true << 103.0 << hex("befb 0ca8 6762 7600 1924 cec4 ec00");
    QTest::newRow("kXWB 80 MHz") << true << 80.0 << hex("befb 0c28 f627 6200 18a4 ec4e c400");
}

void TestBoardCommand::synthWords()
{
    QFETCH(bool, lower);
    QFETCH(double, lo);
    QFETCH(QByteArray, words);
    const SynthWords::Words computed = lower ? SynthWords::kxwbLower(lo, 52) : SynthWords::kxwb(lo);
    QCOMPARE(wordsHex(computed).toHex(' '), words.toHex(' '));
    if (lower)
        QCOMPARE(SynthWords::kxwbLower(lo, 0), computed); // no oscillator: the default
}

void TestBoardCommand::bandConfig_data()
{
    QTest::addColumn<BoardType>("type");
    QTest::addColumn<bool>("onAir");
    QTest::addColumn<int>("band");
    QTest::addColumn<QList<QByteArray>>("datagrams");
    QTest::newRow("QRV4 on air -10 dB")
        << BoardType::QRV4 << true << 0 << QList<QByteArray>{hex("0010 000000 ff 0001 01 8701 28")};
    QTest::newRow("QRV4 off air") << BoardType::QRV4 << false << 0
                                  << QList<QByteArray>{hex("0010 000000 ff 0001 00 8701 7f")};
    QTest::newRow("KXWB band 0 on air -10 dB")
        << BoardType::KXWB << true << 0
        << QList<QByteArray>{
               hex("0010 000000 ff 0001 01 8501 0a 8001 00 840e b03f7627627e1902000000000000"),
               hex("0010 000000 ff 0001 01 8501 0a 8001 01 840e b03fd89d897e1902000000000000")};
    QTest::newRow("KXWB band 1 off air")
        << BoardType::KXWB << false << 1
        << QList<QByteArray>{
               hex("0010 000000 ff 0001 00 8501 1f 8001 00 840e b03ff627627e1882000000000000"),
               hex("0010 000000 ff 0001 00 8501 1f 8001 01 840e b03f589d897e1902000000000000")};
    QTest::newRow("kXWB band 2 on air -10 dB")
        << BoardType::KXWBLower << true << 2
        << QList<QByteArray>{
               hex("0010 000000 ff 0001 01 8501 0a 8001 00 840e befb0ca80ec4ec0019241d89d800"),
               hex("0010 000000 ff 0001 01 8501 0a 8001 01 840e befb0ca85d89d8001924bb13b100")};
}

void TestBoardCommand::bandConfig()
{
    QFETCH(BoardType, type);
    QFETCH(bool, onAir);
    QFETCH(int, band);
    QFETCH(QList<QByteArray>, datagrams);
    const QList<QByteArray> built = BoardCommand::bandConfig(type, onAir, -10, band, 52);
    QCOMPARE(built.size(), datagrams.size());
    for (int i = 0; i < built.size(); ++i)
        QCOMPARE(built[i].toHex(' '), datagrams[i].toHex(' '));
}

void TestBoardCommand::programmeCommands_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    const ChannelConfig config = channelFive();
    const BandTable band0 = BandTable::forBand(0);
    ChannelConfig muted = config;
    muted.mute = true;
    QTest::newRow("volume") << BoardCommand::volumeCommand(5, config)
                            << hex("0010 000000 05 2001 04 2502 6666");
    QTest::newRow("volume muted") << BoardCommand::volumeCommand(5, muted)
                                  << hex("0010 000000 05 2001 04 2502 0000");
    QTest::newRow("gain") << BoardCommand::gainCommand(5, config)
                          << hex("0010 000000 05 2001 04 2202 804d");
    QTest::newRow("rate") << BoardCommand::rateCommand(5, config)
                          << hex("0010 000000 05 2001 04 2605 01 00000000");
    QTest::newRow("carrier and gain")
        << BoardCommand::carrierCommand(5, config, BoardType::KXWB, band0)
        << hex("0010 000000 05 2001 04 2305 000f2b9d 00 2202 804d");
    QTest::newRow("full KXWB with RDS stream 0")
        << BoardCommand::fullCommand(5, config, BoardType::KXWB, band0, 0x01)
        << hex("0010 000000 05 2001 04 2104 01010101 2305 000f2b9d00 2202 804d 2702 91a3"
               " 2502 6666 2605 0100000000");
    ChannelConfig mono = config;
    mono.mono = true;
    mono.used = false;
    mono.rate = 48000;
    mono.emph = 2;
    mono.freq = 100.0;
    QTest::newRow("full QRV4 unused mono, mask keeps four bits, last programme")
        << BoardCommand::fullCommand(96, mono, BoardType::QRV4, band0, 0xF5)
        << hex("0010 000000 60 2001 17 2104 00000502 2305 00c962fd03 2202 804d 2702 4189"
               " 2502 6666 2605 0200000000");
}

void TestBoardCommand::programmeCommands()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built.toHex(' '), expected.toHex(' '));
}

QTEST_GUILESS_MAIN(TestBoardCommand)
#include "tst_boardcommand.moc"
