// Run-time values of the store: channel status, play and song tables and RDS
// log records, each announced under its run-time key.
#include "KeyRecorder.h"
#include "settings/FMSettings.h"
#include "settings/RdsLogRecord.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

SongInfo song(const QString& path, int rate, int kind = 4)
{
    SongInfo info;
    info.path = path;
    info.sampleRate = rate;
    info.kind = kind;
    return info;
}

} // namespace

class TestRuntimeValues : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void channelStatus_data();
    void channelStatus();
    void channelWithoutReportIsAllZero();
    void playInfo_data();
    void playInfo();
    void songTablePublishesOnlyChanges();
    void rdsLogRecord_data();
    void rdsLogRecord();
    void rdsLogReaderRefusesOtherSizes();

private:
    // Posted events arrive in order, so once a marker publication is through,
    // everything published before it has been delivered too.
    void settle()
    {
        store->publish(QStringLiteral("marker"), QVariant());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.keys().contains(QStringLiteral("marker")), 30000);
        recorder.removeAll(QStringLiteral("marker"));
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMSettings> store;
    KeyRecorder recorder;
};

void TestRuntimeValues::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = std::make_unique<FMSettings>(dir->filePath(QStringLiteral("default.fm")));
    recorder.clear();
    store->subscribe(QStringLiteral("*"), &recorder);
}

void TestRuntimeValues::cleanup()
{
    store.reset();
    dir.reset();
}

void TestRuntimeValues::channelStatus_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("channel 0 is refused") << 0 << false;
    QTest::newRow("first channel") << 1 << true;
    QTest::newRow("last channel") << 96 << true;
    QTest::newRow("channel 97 is refused") << 97 << false;
}

void TestRuntimeValues::channelStatus()
{
    QFETCH(int, channel);
    QFETCH(bool, accepted);
    ChannelStatus status;
    status.pcmFill = 4000;
    status.rdsFill = 130;
    status.flags = ChannelStatus::kRdsRateOff | 0x0003;
    status.power = -12.5;
    status.pcmRate = 44080.0;
    status.rdsRate = 74.1;
    store->setChannelStatus(channel, status);
    settle();

    const ChannelStatus read = store->channelInfo(channel);
    if (!accepted) {
        QVERIFY(recorder.keys().isEmpty());
        QCOMPARE(read.pcmFill, quint16(0));
        return;
    }
    QCOMPARE(recorder.keys(), QStringList{QStringLiteral("chstatus.%1").arg(channel)});
    QVERIFY(!recorder.values().first().isValid());
    QCOMPARE(read.pcmFill, status.pcmFill);
    QCOMPARE(read.rdsFill, status.rdsFill);
    QCOMPARE(read.flags, status.flags);
    QCOMPARE(read.power, status.power);
    QCOMPARE(read.pcmRate, status.pcmRate);
    QCOMPARE(read.rdsRate, status.rdsRate);
}

void TestRuntimeValues::channelWithoutReportIsAllZero()
{
    const ChannelStatus read = store->channelInfo(5);
    QCOMPARE(read.pcmFill, quint16(0));
    QCOMPARE(read.rdsFill, quint16(0));
    QCOMPARE(read.flags, quint16(0));
    QCOMPARE(read.power, 0.0);
    QCOMPARE(read.pcmRate, 0.0);
    QCOMPARE(read.rdsRate, 0.0);
    QVERIFY(store->songInfo(5).path.isEmpty());
}

void TestRuntimeValues::playInfo_data()
{
    QTest::addColumn<QString>("firstPath");
    QTest::addColumn<int>("firstRate");
    QTest::addColumn<QString>("secondPath");
    QTest::addColumn<int>("secondRate");
    QTest::addColumn<QStringList>("secondKeys");
    QTest::addColumn<QVariantList>("secondValues");
    const QString a = QStringLiteral("/music/a.flac");
    const QString b = QStringLiteral("/music/b.flac");
    const QString rate = QStringLiteral("chinfo.3/playrate");
    const QString playing = QStringLiteral("chinfo.3/playing");
    QTest::newRow("same song twice publishes nothing")
        << a << 44100 << a << 44100 << QStringList{} << QVariantList{};
    QTest::newRow("same path, other rate publishes only the rate")
        << a << 44100 << a << 48000 << QStringList{rate} << QVariantList{48000};
    QTest::newRow("other song, same rate publishes only the path")
        << a << 44100 << b << 44100 << QStringList{playing} << QVariantList{b};
    QTest::newRow("empty path removes the song")
        << a << 44100 << QString() << 0 << QStringList{rate, playing} << QVariantList{0, QString()};
}

void TestRuntimeValues::playInfo()
{
    QFETCH(QString, firstPath);
    QFETCH(int, firstRate);
    QFETCH(QString, secondPath);
    QFETCH(int, secondRate);
    QFETCH(QStringList, secondKeys);
    QFETCH(QVariantList, secondValues);

    store->setPlayInfo(3, song(firstPath, firstRate));
    settle();
    QCOMPARE(recorder.keys(), (QStringList{QStringLiteral("chinfo.3/playrate"),
                                           QStringLiteral("chinfo.3/playing")}));
    QCOMPARE(recorder.values().value(0).toInt(), firstRate);
    QCOMPARE(recorder.values().value(1).toString(), firstPath);
    recorder.clear();

    store->setPlayInfo(3, song(secondPath, secondRate));
    settle();
    QCOMPARE(recorder.keys(), secondKeys);
    QCOMPARE(recorder.values().size(), secondValues.size());
    for (int i = 0; i < secondValues.size(); ++i)
        QCOMPARE(recorder.values().at(i).toString(), secondValues.at(i).toString());
    QCOMPARE(store->songInfo(3).path, secondPath);
    QCOMPARE(store->songInfo(3).sampleRate, secondRate);
}

void TestRuntimeValues::songTablePublishesOnlyChanges()
{
    const QList<SongInfo> listed{song(QStringLiteral("/a.ogg"), 44100, 1),
                                 song(QStringLiteral("/b.wav"), 32000, 3)};
    store->setSongInfo(1, listed);
    settle();
    QCOMPARE(recorder.keys(), QStringList{QStringLiteral("songinfo")});
    QCOMPARE(store->songInfos().size(), 2);

    recorder.clear();
    store->setSongInfo(2, listed);
    settle();
    QVERIFY(recorder.keys().isEmpty());

    store->setSongInfo(2, {song(QStringLiteral("/b.wav"), 32000, -1)});
    settle();
    QCOMPARE(recorder.keys(), QStringList{QStringLiteral("songinfo")});
    QCOMPARE(store->songInfos().value(QStringLiteral("/b.wav")).kind, -1);
}

void TestRuntimeValues::rdsLogRecord_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QByteArray>("timeBytes");
    QTest::newRow("midnight") << QTime(0, 0) << QByteArray::fromHex("00000000");
    QTest::newRow("noon and a quarter second")
        << QTime(12, 0, 0, 250) << QByteArray::fromHex("fa2e9302");
    QTest::newRow("last millisecond of the day")
        << QTime(23, 59, 59, 999) << QByteArray::fromHex("ff5b2605");
}

void TestRuntimeValues::rdsLogRecord()
{
    QFETCH(QTime, time);
    QFETCH(QByteArray, timeBytes);
    const QByteArray group = QByteArray::fromHex("0123456789abcdef0123456789");
    store->addRDSLog(7, 2, time, reinterpret_cast<const uchar*>(group.constData()));
    settle();

    QCOMPARE(recorder.keys(), QStringList{QStringLiteral("chinfo.7/rdslog/2")});
    const QVariant value = recorder.values().first();
    QCOMPARE(value.typeId(), QMetaType::QByteArray);
    const QByteArray record = value.toByteArray();
    QCOMPARE(record.size(), RdsLogRecord::kSize);
    QCOMPARE(record.left(13), group);
    QCOMPARE(record.mid(13), timeBytes);
    QCOMPARE(RdsLogRecord::msecsSinceMidnight(record), time.msecsSinceStartOfDay());
    QCOMPARE(RdsLogRecord::groupBytes(record), group);
}

void TestRuntimeValues::rdsLogReaderRefusesOtherSizes()
{
    store->addRDSLog(1, 1, QTime(1, 0), nullptr);
    settle();
    QVERIFY(recorder.keys().isEmpty());
    for (int size : {0, 13, 16, 18}) {
        const QByteArray bytes(size, '\x01');
        QCOMPARE(RdsLogRecord::msecsSinceMidnight(bytes), -1);
        QVERIFY(RdsLogRecord::groupBytes(bytes).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestRuntimeValues)
#include "tst_runtimevalues.moc"
