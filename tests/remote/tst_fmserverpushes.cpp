// Key changes and run-time values the control server pushes to its client,
// and the readable forms of RDS log records.
#include "KeyRecorder.h"
#include "ServerKit.h"

#include "settings/SongInfo.h"

#include <QTime>

#include <array>

namespace {

// Packs four RDS blocks (16 data bits, then 10 check bits) most significant
// bit first into the 13 bytes of a group, as the encoder sends them. The
// check bits are all set so that any leak into a data word shows.
QByteArray packGroup(const std::array<quint16, 4>& words)
{
    constexpr quint32 kCheckBits = 0x3FF;
    QByteArray bytes(13, '\0');
    int bit = 0;
    for (quint16 word : words) {
        const quint32 block = quint32(word) << 10 | kCheckBits;
        for (int i = 25; i >= 0; --i, ++bit)
            if (block >> i & 1)
                bytes[bit / 8] = char(quint8(bytes[bit / 8]) | (0x80 >> (bit % 8)));
    }
    return bytes;
}

QByteArray counting(int size)
{
    QByteArray bytes;
    for (int i = 1; i <= size; ++i)
        bytes += char(i);
    return bytes;
}

} // namespace

class TestFMServerPushes : public QObject
{
    Q_OBJECT

private slots:
    void defaultRegistrationsPush();
    void pushFollowsTheReply();
    void unregisteredKeysStayQuietAcrossLoads();
    void registeredRunTimeValues();
    void everyPushWhilePagesTakeTheNewest();
    void rdsLogForms_data();
    void rdsLogForms();
    void shortRecords_data();
    void shortRecords();
};

void TestFMServerPushes::defaultRegistrationsPush()
{
    ServerRig rig;
    auto client = rig.client();
    QCOMPARE(client->exchange("AIR"), QStringList{"modul.unknown"});

    rig.store->publish("modul.onair", QVariant());
    QVERIFY(client->takeUntil("modul.onair ").isEmpty());
    QCOMPARE(client->exchange("AIR"), QStringList{"modul.onair"});
    rig.store->publish("modul.offline", QVariant());
    QVERIFY(client->takeUntil("modul.offline ").isEmpty());
    QCOMPARE(client->exchange("GET modul"), QStringList{"modul.offline"});

    SongInfo song;
    song.path = "/music/a.flac";
    rig.store->setPlayInfo(2, song);
    QVERIFY(client->takeUntil("chinfo.2.playing /music/a.flac").isEmpty());

    rig.store->set("audio.4.name", "Studio");
    QVERIFY(client->takeUntil("audio.4.name Studio").isEmpty());
    rig.store->set("tmc.1.rate", "12");
    QVERIFY(client->takeUntil("tmc.1.rate 12").isEmpty());
    QVERIFY(!client->badLineEnd);
}

void TestFMServerPushes::pushFollowsTheReply()
{
    ServerRig rig;
    auto client = rig.client();
    client->send("SET channel.1.gain -4\r\n");
    QCOMPARE(client->takeUntil("channel.1.gain -4"), QStringList{"SET ok: channel.1.gain = -4"});

    // A command over several instances is pushed once, as it was given.
    client->send("SET channel.1,3.mute 1\r\n");
    QCOMPARE(client->takeUntil("channel.1,3.mute 1"), QStringList{"SET ok: channel.1,3.mute = 1"});

    // The same value again is answered, and nothing is pushed.
    QCOMPARE(client->exchange("SET channel.1.gain -4\r\nSET rds.1.ps NEWPS"),
             (QStringList{"SET ok: channel.1.gain = -4", "SET ok: rds.1.ps = NEWPS"}));
    QCOMPARE(client->takeUntil("rds.1.ps NEWPS"), QStringList{});
}

void TestFMServerPushes::unregisteredKeysStayQuietAcrossLoads()
{
    ServerRig rig;
    auto client = rig.client();
    QCOMPARE(client->exchange("UNR channel"), QStringList{"UNR ok: channel"});

    const QString other = rig.copyProject("other.fm");
    auto next = QSharedPointer<FMSettings>::create(other);
    rig.server->setProject(next, other);
    QVERIFY(client->takeUntil("LOAD ok: " + other).isEmpty());
    QVERIFY(!rig.server->registrations().contains("channel"));

    // The channel change is posted before the RDS one; only the latter comes.
    next->set("channel.1.gain", "-9");
    next->set("rds.1.ps", "OTHER");
    QCOMPARE(client->takeUntil("rds.1.ps OTHER"), QStringList{});

    // The old store no longer reaches the server.
    rig.store->set("rds.1.ps", "OLD");
    next->set("rds.1.ps", "LAST");
    QCOMPARE(client->takeUntil("rds.1.ps LAST"), QStringList{});
}

void TestFMServerPushes::registeredRunTimeValues()
{
    ServerRig rig;
    auto client = rig.client();
    QCOMPARE(client->exchange("REG chinfo.1"), QStringList{"REG ok: chinfo.1"});
    rig.store->publish("chinfo.1.playrate", 48000);
    rig.store->publish("chinfo.2.playrate", 44100); // not registered
    rig.store->publish("chinfo.1.dist", "0.400");
    QCOMPARE(client->takeUntil("chinfo.1.dist 0.400"), QStringList{"chinfo.1.playrate 48000"});
}

// A client that registered a play position hears every one, in order,
// although a page listening to the same key takes only the newest.
void TestFMServerPushes::everyPushWhilePagesTakeTheNewest()
{
    ServerRig rig;
    auto client = rig.client();
    QCOMPARE(client->exchange("REG chinfo.1.playpos"), QStringList{"REG ok: chinfo.1.playpos"});
    KeyRecorder page;
    QVERIFY(rig.store->subscribe(QStringLiteral("chinfo"), &page));
    rig.store->takeLatestStateValues(&page);
    constexpr int kBurst = 1000;
    QStringList expected;
    for (int n = 1; n <= kBurst; ++n) {
        rig.store->publish(QStringLiteral("chinfo.1.playpos"), n);
        if (n < kBurst)
            expected.append(QStringLiteral("chinfo.1.playpos %1").arg(n));
    }
    QCOMPARE(client->takeUntil(QStringLiteral("chinfo.1.playpos %1").arg(kBurst)), expected);
    QCOMPARE(page.values(), QVariantList{kBurst});
    rig.store->unsubscribeAll(&page);
}

void TestFMServerPushes::rdsLogForms_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QString>("line");
    const QByteArray group0A = packGroup({0xD318, 0x0408, 0xE0CD, 0x2020});
    const QByteArray group2B = packGroup({0xD318, 0x2800, 0xD318, 0x4142});
    const QString key = "chinfo.1.rdslog.2";

    QTest::newRow("default") << QByteArray() << group0A << key + " d318 0408 e0cd 2020 0A";
    QTest::newRow("time data") << QByteArray("SET rdslog time data") << group0A
                               << key + " 12:00:01.250 d318 0408 e0cd 2020";
    QTest::newRow("raw") << QByteArray("SET rdslog raw") << group0A
                         << key + " " + QString::fromLatin1(group0A.toHex());
    QTest::newRow("group twice") << QByteArray("SET rdslog group group") << group2B
                                 << key + " 2B 2B";
    QTest::newRow("empty format") << QByteArray("SET rdslog") << group0A << key;
    QTest::newRow("any case, unknown word left empty")
        << QByteArray("SET rdslog TIME junk Data") << group0A
        << key + " 12:00:01.250 d318 0408 e0cd 2020";
    QTest::newRow("double blank keeps an empty slot")
        << QByteArray("SET rdslog data  group") << group2B << key + " d318 2800 d318 4142 2B";
    QTest::newRow("five slots at most")
        << QByteArray("SET rdslog group group group group group data") << group0A
        << key + " 0A 0A 0A 0A 0A";
}

void TestFMServerPushes::rdsLogForms()
{
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, group);
    QFETCH(QString, line);
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    client->exchange("REG chinfo.1");
    if (!format.isEmpty())
        client->exchange(format);
    rig.store->addRDSLog(1, 2, QTime(12, 0, 1, 250),
                         reinterpret_cast<const uchar*>(group.constData()));
    client->send("AIR\r\n"); // the push is posted before the marker is read
    QCOMPARE(client->takeUntil("modul.unknown"), QStringList{line});
}

// Records that do not hold a whole group get only the parts they can fill.
void TestFMServerPushes::shortRecords_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("tail");
    QTest::newRow("empty") << 0 << " ";
    QTest::newRow("5 bytes") << 5 << " 0102030405";
    QTest::newRow("11 bytes") << 11 << " 0102030405060708090a0b";
    QTest::newRow("12 bytes") << 12 << " 0102030405060708090a0b0c 0102 1014 7080 82c3 1A";
    QTest::newRow("16 bytes") << 16 << " 0102030405060708090a0b0c0d 0102 1014 7080 82c3 1A";
    QTest::newRow("17 bytes") << 17
                              << " 0102030405060708090a0b0c0d 0102 1014 7080 82c3 1A 79:31:05.102";
}

void TestFMServerPushes::shortRecords()
{
    QFETCH(int, size);
    QFETCH(QString, tail);
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    client->exchange("REG chinfo.5");
    client->exchange("SET rdslog raw data group time");
    rig.store->publish("chinfo.5.rdslog.1", counting(size));
    client->send("AIR\r\n");
    QCOMPARE(client->takeUntil("modul.unknown"), QStringList{"chinfo.5.rdslog.1" + tail});
}

QTEST_MAIN(TestFMServerPushes)
#include "tst_fmserverpushes.moc"
