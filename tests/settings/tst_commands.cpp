// The text command layer: SET with instance lists and range checks, GET,
// ADD and DEL of list items, the key listing and HELP.
#include "KeyRecorder.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setCodes_data();
    void setCodes();
    void errorTextOfUnknownCodes();
    void setNotifiesOncePerSubscriber();
    void setOverInstanceLists_data();
    void setOverInstanceLists();
    void hugeRangeIsClamped();
    void failingInstanceStopsAndPublishesNothing();
    void listItemNeedsAddFirst();

    void getFallsBackToRecords();

    void addCodes_data();
    void addCodes();
    void addFindsTheFirstFreeItem();
    void delMovesItemsWithTheirSubKeys();
    void delCodes_data();
    void delCodes();
    void delWholeList();

    void knownKeys_data();
    void knownKeys();
    void help_data();
    void help();

private:
    void settle() { QCoreApplication::sendPostedEvents(); }
    void raw(const QString& key, const QVariant& value) { store->rawStore(key, value); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMSettings> store;
};

void TestCommands::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = std::make_unique<FMSettings>(dir->filePath(QStringLiteral("default.fm")));
}

void TestCommands::cleanup()
{
    store.reset();
    dir.reset();
}

void TestCommands::setCodes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("frequency") << "channel.1.freq"
                               << "95.8" << 0 << "no error occurred";
    QTest::newRow("upper case and slashes") << "Channel/2/FREQ"
                                            << "95.8" << 0 << "no error occurred";
    QTest::newRow("frequency above the EU band") << "channel.1.freq"
                                                 << "200" << 2 << "data out of range [87.5..108]";
    QTest::newRow("frequency below the EU band") << "channel.1.freq"
                                                 << "87.45" << 2 << "data out of range [87.5..108]";
    QTest::newRow("not a number") << "channel.1.gain"
                                  << "loud" << 2 << "data out of range [-60..0]";
    QTest::newRow("nan is no number") << "channel.1.gain"
                                      << "nan" << 2 << "data out of range [-60..0]";
    QTest::newRow("flag takes any word") << "channel.1.used"
                                         << "yes" << 0 << "no error occurred";
    QTest::newRow("hex value") << "rds.1.pi"
                               << "d311" << 0 << "no error occurred";
    QTest::newRow("hex bounds in lower-case hex") << "rds.1.pi"
                                                  << "xyz" << 2 << "data out of range [0..ffff]";
    QTest::newRow("hex above its bound") << "rds.1.pi"
                                         << "10000" << 2 << "data out of range [0..ffff]";
    QTest::newRow("string of eight") << "rds.1.pn1"
                                     << "12345678" << 0 << "no error occurred";
    QTest::newRow("string of nine") << "rds.1.pn1"
                                    << "123456789" << 2 << "data out of range [0..8]";
    QTest::newRow("string without bounds")
        << "rds.1.rta" << QString(300, 'x') << 0 << "no error occurred";
    QTest::newRow("group rates in range") << "rds.1.gmin.2"
                                          << "1 20 0 -3 0" << 0 << "no error occurred";
    QTest::newRow("group rate out of range")
        << "rds.1.gmin.2"
        << "1 900 0 0 0" << 2 << "data out of range [-685..685]";
    QTest::newRow("id link") << "channel.1.idrds"
                             << "-5" << 0 << "no error occurred";
    QTest::newRow("wide bounds in six digits") << "channel.1.idaudio"
                                               << "-1" << 2 << "data out of range [0..2.14748e+09]";
    QTest::newRow("unknown family") << "nothing.1.x"
                                    << "1" << 1 << "key is unknown";
    QTest::newRow("unknown field") << "channel.1.colour"
                                   << "red" << 1 << "key is unknown";
    QTest::newRow("wildcard names no channel") << "channel.*.freq"
                                               << "95.8" << 1 << "key is unknown";
    QTest::newRow("letter names no channel") << "channel.x.freq"
                                             << "95.8" << 1 << "key is unknown";
    QTest::newRow("channel zero") << "channel.0.freq"
                                  << "95.8" << 1 << "key is unknown";
    QTest::newRow("empty ranges write directly") << "channel.97-99.freq"
                                                 << "95.8" << 1 << "key is unknown";
    QTest::newRow("two-part key") << "board.band"
                                  << "1" << 1 << "key is unknown";
    QTest::newRow("key without family") << "rdslog"
                                        << "x" << 3 << "data did not change";
}

void TestCommands::setCodes()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, code);
    QFETCH(QString, text);
    const int result = store->set(key, value);
    QCOMPARE(result, code);
    QCOMPARE(store->errorText(result), text);
    if (code == 0)
        QCOMPARE(store->get(key).toString(), value);
    else if (!key.contains(QLatin1Char('*')))
        QVERIFY(!store->contains(key.contains(QLatin1Char('.')) ? key : QString()));
    QVERIFY(!store->contains(QStringLiteral("channel.0.freq")));
}

void TestCommands::errorTextOfUnknownCodes()
{
    QCOMPARE(store->errorText(8), QStringLiteral("unknown error"));
    QCOMPARE(store->errorText(-1), QStringLiteral("unknown error"));
    QCOMPARE(store->errorText(5), QStringLiteral("is not a list or list item"));
    QCOMPARE(store->errorText(6), QStringLiteral("is not set"));
}

void TestCommands::setNotifiesOncePerSubscriber()
{
    KeyRecorder everything;
    KeyRecorder group;
    KeyRecorder otherKey;
    KeyRecorder wild;
    KeyRecorder family;
    store->subscribe(QStringLiteral("*"), &everything);
    store->subscribe(QStringLiteral("channel.1"), &group);
    store->subscribe(QStringLiteral("channel.1.freq"), &group);
    store->subscribe(QStringLiteral("channel.1.gain"), &otherKey);
    store->subscribe(QStringLiteral("channel.*.freq"), &wild);
    store->subscribe(QStringLiteral("channel"), &family);

    QCOMPARE(store->set(QStringLiteral("channel.1.freq"), QStringLiteral("95.8")), 0);
    settle();
    QCOMPARE(everything.keys(), QStringList{"channel.1/freq"});
    QCOMPARE(group.keys(), QStringList{"channel.1/freq"});
    QCOMPARE(otherKey.keys(), QStringList{"channel.1/freq"});
    QCOMPARE(family.keys(), QStringList{"channel.1/freq"});
    QVERIFY(wild.keys().isEmpty());
    QVERIFY(store->isDirty());

    QCOMPARE(store->set(QStringLiteral("channel.1.freq"), QStringLiteral("95.8")), 3);
    settle();
    QCOMPARE(everything.keys().size(), 1);
    QCOMPARE(group.keys().size(), 1);

    // The sender of a change (the timeline playing) hears nothing of it.
    QCOMPARE(store->set(QStringLiteral("channel.1.freq"), QStringLiteral("96"), true, &group), 0);
    settle();
    QCOMPARE(group.keys().size(), 1);
    QCOMPARE(everything.keys().size(), 2);
    for (QObject* o :
         std::initializer_list<QObject*>{&everything, &group, &otherKey, &wild, &family})
        store->unsubscribeAll(o);
}

void TestCommands::setOverInstanceLists_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("list and range") << "channel.1,3-4.gain" << QList<int>{1, 3, 4}
                                    << QStringList{"channel.1/gain", "channel.3/gain"};
    QTest::newRow("range past 96") << "channel.95-100.gain" << QList<int>{95, 96} << QStringList{};
    QTest::newRow("range from 0") << "channel.0-2.gain" << QList<int>{1, 2}
                                  << QStringList{"channel.1/gain"};
    QTest::newRow("single instance")
        << "channel.3.gain" << QList<int>{3} << QStringList{"channel.3/gain"};
}

void TestCommands::setOverInstanceLists()
{
    QFETCH(QString, key);
    QFETCH(QList<int>, written);
    QFETCH(QStringList, events);
    // Subscribed to channels 1 and 3 (twice), and to a key of channel 3.
    KeyRecorder one;
    KeyRecorder three;
    store->subscribe(QStringLiteral("channel.1"), &one);
    store->subscribe(QStringLiteral("channel.3"), &three);
    store->subscribe(QStringLiteral("channel.3.freq"), &three);

    QCOMPARE(store->set(key, QStringLiteral("-7")), 0);
    settle();
    for (int c = 0; c <= 97; ++c) {
        const bool expected = written.contains(c);
        QCOMPARE(store->contains(QStringLiteral("channel.%1.gain").arg(c)), expected);
    }
    QStringList received = one.keys() + three.keys();
    QCOMPARE(received, events);
    store->unsubscribeAll(&one);
    store->unsubscribeAll(&three);
}

void TestCommands::hugeRangeIsClamped()
{
    QString prefix;
    QString rest;
    const QList<int> instances =
        Settings::parseKey(QStringLiteral("channel.1-2000000000/freq"), prefix, rest);
    QCOMPARE(instances.size(), 96);
    QCOMPARE(instances.last(), 96);
    QCOMPARE(prefix, QStringLiteral("channel."));
    QCOMPARE(rest, QStringLiteral("/freq"));
    QVERIFY(Settings::parseKey(QStringLiteral("channel.5-3/freq"), prefix, rest).isEmpty());
    QVERIFY(Settings::parseKey(QStringLiteral("channel.3-/freq"), prefix, rest).isEmpty());
    QCOMPARE(Settings::parseKey(QStringLiteral("channel.7,x,2-3,7/freq"), prefix, rest),
             (QList<int>{7, 0, 2, 3, 7}));
    QCOMPARE(Settings::parseKey(QStringLiteral("board.band"), prefix, rest), QList<int>{0});
}

void TestCommands::failingInstanceStopsAndPublishesNothing()
{
    KeyRecorder everything;
    store->subscribe(QStringLiteral("*"), &everything);
    raw(QStringLiteral("channel.1/rate"), 44100);
    QCOMPARE(store->set(QStringLiteral("channel.1,2,3.rate"), QStringLiteral("200")), 2);
    raw(QStringLiteral("channel.2/rate"), 32000);
    // Channel 1 is unchanged, channel 2 changes, channel 3 fails: the code
    // of the last instance tried, and the change of channel 2 is published.
    QCOMPARE(store->set(QStringLiteral("channel.1-2.rate"), QStringLiteral("44100")), 0);
    settle();
    QCOMPARE(everything.keys(), QStringList{"channel.1-2/rate"});
    everything.clear();
    QCOMPARE(store->set(QStringLiteral("channel.1,4.rate"), QStringLiteral("44100x")), 2);
    settle();
    QVERIFY(everything.keys().isEmpty());
    store->unsubscribeAll(&everything);
}

void TestCommands::listItemNeedsAddFirst()
{
    const QString entry = QStringLiteral("1 d311 10 1 0 0");
    QCOMPARE(store->set(QStringLiteral("rds.1.eon.0"), entry), 7);
    QCOMPARE(store->errorText(7), QStringLiteral("use ADD to insert list items"));
    QCOMPARE(store->add(QStringLiteral("rds.1.eon."), entry), 0);
    QCOMPARE(store->set(QStringLiteral("rds.1.eon.0"), QStringLiteral("2 d311 10 1 0 0")), 0);
    QCOMPARE(store->set(QStringLiteral("rds.1.eon.0"), QStringLiteral("2 d311 10 1 0")), 4);
    QCOMPARE(store->errorText(4), QStringLiteral("expecting 6 values"));
    QCOMPARE(store->set(QStringLiteral("rds.1.oda.0"), QStringLiteral("1 2")), 7);
}

void TestCommands::getFallsBackToRecords()
{
    QCOMPARE(store->get(QStringLiteral("channel.2.freq")).toDouble(), 88.1);
    QCOMPARE(store->get(QStringLiteral("channel.2.volm")).toInt(), 40);
    QVERIFY(!store->get(QStringLiteral("rds.5.ps")).isValid());
    QVERIFY(!store->get(QStringLiteral("board.nothing")).isValid());
    store->set(QStringLiteral("channel.2.freq"), QStringLiteral("99.5"));
    QCOMPARE(store->get(QStringLiteral("CHANNEL.2.FREQ")).toString(), QStringLiteral("99.5"));
}

void TestCommands::addCodes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("stored"); // key that holds the result, "" for none
    QTest::addColumn<QString>("text");
    QTest::newRow("not a list") << "channel.1.freq"
                                << "95.8" << 5 << ""
                                << "";
    QTest::newRow("unknown key") << "channel.1.colour"
                                 << "1" << 1 << ""
                                 << "";
    QTest::newRow("append to a list key") << "rds.1.afs"
                                          << "-1000" << 0 << "rds.1/afs"
                                          << "958 -1000";
    QTest::newRow("list value out of range") << "rds.1.afs"
                                             << "20000" << 2 << ""
                                             << "";
    QTest::newRow("new eon item") << "rds.1.eon"
                                  << "1 d311 10 1 0 0" << 0 << "rds.1/eon/0"
                                  << "1 d311 10 1 0 0";
    QTest::newRow("wrong count") << "rds.1.eon."
                                 << "1 d311" << 4 << ""
                                 << "";
    QTest::newRow("playlist file") << "playlist.2."
                                   << "/m/a.flac" << 0 << "playlist.2/0"
                                   << "/m/a.flac";
    QTest::newRow("tmc message") << "tmc.1."
                                 << "1 0 1500 12345 1" << 0 << "tmc.1/0"
                                 << "1 0 1500 12345 1";
    QTest::newRow("service key words are hexadecimal") << "tmc.1.skt."
                                                       << "ffff 1a" << 0 << "tmc.1/skt/0"
                                                       << "ffff 1a";
    QTest::newRow("tmc instance alone takes a message") << "tmc.1"
                                                        << "4 5 6 7" << 0 << "tmc.1/0"
                                                        << "4 5 6 7";
    QTest::newRow("playlist instance alone takes a file") << "playlist.77"
                                                          << "x" << 0 << "playlist.77/0"
                                                          << "x";
    QTest::newRow("instance number in a long form") << "tmc.01."
                                                    << "1 2" << 0 << "tmc.1/0"
                                                    << "1 2";
    QTest::newRow("tmc without instance") << "tmc."
                                          << "5" << 1 << ""
                                          << "";
    QTest::newRow("playlist without instance") << "playlist."
                                               << "/x.wav" << 1 << ""
                                               << "";
    QTest::newRow("negative instance") << "playlist.-1."
                                       << "x" << 1 << ""
                                       << "";
    QTest::newRow("instance zero") << "tmc.0."
                                   << "1 2" << 1 << ""
                                   << "";
    QTest::newRow("instance list") << "tmc.1,2."
                                   << "1 2" << 1 << ""
                                   << "";
}

void TestCommands::addCodes()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, code);
    QFETCH(QString, stored);
    QFETCH(QString, text);
    raw(QStringLiteral("rds.1/afs"), QStringLiteral("958"));
    const QStringList keysBefore = store->QSettings::allKeys();
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("*"), &recorder);
    QCOMPARE(store->add(key, value), code);
    settle();
    if (!stored.isEmpty()) {
        QCOMPARE(store->value(stored).toString(), text);
        QCOMPARE(recorder.keys(), QStringList{stored});
    } else {
        QVERIFY(recorder.keys().isEmpty());
        QCOMPARE(store->QSettings::allKeys(), keysBefore);
    }
    store->unsubscribeAll(&recorder);
}

void TestCommands::addFindsTheFirstFreeItem()
{
    raw(QStringLiteral("playlist.1/0"), QStringLiteral("/a"));
    raw(QStringLiteral("playlist.1/2"), QStringLiteral("/c"));
    QCOMPARE(store->add(QStringLiteral("playlist.1."), QStringLiteral("/b")), 0);
    QCOMPARE(store->value(QStringLiteral("playlist.1.1")).toString(), QStringLiteral("/b"));
    QCOMPARE(store->add(QStringLiteral("rds.1.afs"), QStringLiteral("958")), 0);
    QCOMPARE(store->add(QStringLiteral("rds.1.afs"), QString()), 3);

    for (int i = 0; i < 512; ++i)
        raw(QStringLiteral("tmc.2/%1").arg(i), QStringLiteral("1 0 1 1 1"));
    QCOMPARE(store->add(QStringLiteral("tmc.2."), QStringLiteral("1 0 2 2 1")), 2);
}

void TestCommands::delMovesItemsWithTheirSubKeys()
{
    for (int i = 0; i < 4; ++i) {
        raw(QStringLiteral("rds.1/eon/%1").arg(i), QStringLiteral("%1 d31%1 10 1 0 0").arg(i));
        raw(QStringLiteral("rds.1/eon/%1/ps").arg(i), QStringLiteral("PS-%1").arg(i));
        if (i != 2)
            raw(QStringLiteral("rds.1/eon/%1/af").arg(i), QStringLiteral("95%1").arg(i));
    }
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("rds.1"), &recorder);
    QCOMPARE(store->del(QStringLiteral("rds.1.eon.1")), 0);
    settle();
    QCOMPARE(recorder.keys(), QStringList{"rds.1/eon/1"});
    QCOMPARE(store->rawNumberedKeys(QStringLiteral("rds.1/eon")), (QList<int>{0, 1, 2}));
    const QStringList expectedPs{"PS-0", "PS-2", "PS-3"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(store->rawValue(QStringLiteral("rds.1/eon/%1/ps").arg(i)).toString(),
                 expectedPs[i]);
    }
    QCOMPARE(store->rawValue(QStringLiteral("rds.1/eon/1")).toString(),
             QStringLiteral("2 d312 10 1 0 0"));
    QVERIFY(!store->rawContains(QStringLiteral("rds.1/eon/1/af"))); // item 2 had no AF list
    QCOMPARE(store->rawValue(QStringLiteral("rds.1/eon/2/af")).toString(), QStringLiteral("953"));
    QVERIFY(store->rawAllKeys(QStringLiteral("rds.1/eon/3")).isEmpty());
    QVERIFY(!store->rawContains(QStringLiteral("rds.1/eon/3")));
    QVERIFY(store->isDirty());
    // The record follows the file.
    const QList<EON> eon = store->rdsSource(1).eon;
    QCOMPARE(eon.size(), 3);
    QCOMPARE(eon[1].ps, QStringLiteral("PS-2"));
    QCOMPARE(int(eon[2].pi), 0xd313);
    store->unsubscribeAll(&recorder);
}

void TestCommands::delCodes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");
    QTest::newRow("two-part key") << "board.band" << 1;
    QTest::newRow("unknown") << "channel.1.colour" << 1;
    QTest::newRow("not a list") << "channel.1.freq" << 5;
    QTest::newRow("item that is not set") << "playlist.1.5" << 6;
    QTest::newRow("whole empty list") << "rds.1.eon.*" << 6;
    QTest::newRow("whole list key held") << "rds.1.afs" << 0;
}

void TestCommands::delCodes()
{
    QFETCH(QString, key);
    QFETCH(int, code);
    raw(QStringLiteral("rds.1/afs"), QStringLiteral("958"));
    QCOMPARE(store->del(key), code);
    if (code == 0)
        QVERIFY(!store->contains(key));
}

void TestCommands::delWholeList()
{
    for (int i = 0; i < 3; ++i)
        raw(QStringLiteral("playlist.4/%1").arg(i), QStringLiteral("/f%1").arg(i));
    raw(QStringLiteral("playlist.4/name"), QStringLiteral("Evening"));
    QCOMPARE(store->add(QStringLiteral("playlist.4."), QStringLiteral("/f3")), 0);
    QCOMPARE(store->playlist(4), (QStringList{"/f0", "/f1", "/f2", "/f3"}));
    QCOMPARE(store->del(QStringLiteral("playlist.4.1")), 0);
    QCOMPARE(store->playlist(4), (QStringList{"/f0", "/f2", "/f3"}));
    QCOMPARE(store->del(QStringLiteral("playlist.4.*")), 0);
    QCOMPARE(store->rawChildKeys(QStringLiteral("playlist.4")), QStringList{"name"});
    QVERIFY(store->playlist(4).isEmpty());
}

void TestCommands::knownKeys_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("every group") << "" << QStringList{"channel.2",  "channel.10", "audio.20",
                                                      "audio.9500", "playlist.1", "rds.1",
                                                      "rds.10",     "rds.11",     "tmc.1",
                                                      "board",      "events.1"};
    QTest::newRow("playlist items in number order")
        << "playlist.1"
        << QStringList{"playlist.1.0", "playlist.1.1", "playlist.1.2", "playlist.1.10",
                       "playlist.1.name"};
    QTest::newRow("sub-group keys keep their slashes")
        << "rds.1" << QStringList{"rds.1.eon/2/af", "rds.1.ps"};
    QTest::newRow("family groups in number order")
        << "rds" << QStringList{"rds.1", "rds.10", "rds.11"};
    QTest::newRow("missing group matches longer names") << "rds.1" << QStringList{};
    QTest::newRow("unstored single value") << "channel.3.freq" << QStringList{"channel.3.freq"};
    QTest::newRow("instance zero") << "channel.0.freq" << QStringList{};
    QTest::newRow("two-part key") << "board.band" << QStringList{};
    QTest::newRow("board section") << "board" << QStringList{"board.attn", "board.band"};
    QTest::newRow("list item without group") << "rds.1.eon.2" << QStringList{};
}

void TestCommands::knownKeys()
{
    QFETCH(QString, path);
    raw(QStringLiteral("channel.10/freq"), 90);
    raw(QStringLiteral("channel.2/freq"), 90);
    raw(QStringLiteral("audio.9500/name"), QStringLiteral("x"));
    raw(QStringLiteral("audio.20/name"), QStringLiteral("x"));
    for (int i : {0, 1, 2, 10})
        raw(QStringLiteral("playlist.1/%1").arg(i), QStringLiteral("/f"));
    raw(QStringLiteral("playlist.1/name"), QStringLiteral("Evening"));
    if (QTest::currentDataTag() != QByteArray("missing group matches longer names")) {
        raw(QStringLiteral("rds.1/ps"), QStringLiteral("PS"));
        raw(QStringLiteral("rds.1/eon/2/af"), QStringLiteral("958"));
    }
    raw(QStringLiteral("rds.11/ps"), QStringLiteral("PS"));
    raw(QStringLiteral("rds.10/ps"), QStringLiteral("PS"));
    raw(QStringLiteral("tmc.1/0"), QStringLiteral("1 0 1 1 1"));
    raw(QStringLiteral("events.1/repeat"), true);
    int band = 1;
    int attn = -3;
    store->setBandAttn(band, attn);

    QStringList keys = store->knownKeys(path);
    if (QTest::currentDataTag() == QByteArray("missing group matches longer names"))
        QCOMPARE(keys, (QStringList{"rds.10", "rds.11"}));
    else if (QTest::currentDataTag() == QByteArray("board section"))
        QVERIFY(QSet<QString>(keys.begin(), keys.end())
                    .contains(QSet<QString>{"board.attn", "board.band", "board.rand"}));
    else
        QTEST(keys, "keys");
}

void TestCommands::help_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("line");
    QTest::newRow("double") << "channel.1.freq"
                            << "channel transmission frequency [76..108] MHz (double)";
    QTest::newRow("bool") << "channel.1.used"
                          << "toggle channel (on/off) [0..1] (bool)";
    QTest::newRow("id link") << "channel.1.idrds"
                             << "channel rds source id [-2147483648..2147483647] rds (id link)";
    QTest::newRow("hexadecimal") << "rds.2.pi"
                                 << "rds program identifier [0..ffff] (hexadecimal)";
    QTest::newRow("list item with count")
        << "rds.1.eon.3"
        << "rds eon channel PI PTY TP TA link (list of 6 hexadecimal)";
    QTest::newRow("list without type") << "rds.1.rttag.1"
                                       << "rds radio text tag (list of 2 )";
    QTest::newRow("group rates") << "rds.1.gmin.2"
                                 << "rds group 2A or 2B rates [-685..685] G/min (list of integer)";
    QTest::newRow("service keys") << "tmc.1.skt.1"
                                  << "tmc service key table [0..ffff] (list of hexadecimal)";
    QTest::newRow("playlist file") << "playlist.1.4"
                                   << "playlist file (list of 1 string)";
    QTest::newRow("board") << "board.attn"
                           << "attenuate HF signal [-31..0] dB (integer)";
    QTest::newRow("string") << "rds.1.name"
                            << "rds source name (string)";
    QTest::newRow("command") << "GET"
                             << "usage: GET key (get value for key) example: GET rds.1.ps";
    QTest::newRow("command any case") << "Get"
                                      << "usage: GET key (get value for key) example: GET rds.1.ps";
    QTest::newRow("no schema entry") << "chinfo.1.rdslog"
                                     << "";
    QTest::newRow("no key") << "banana"
                            << "";
}

void TestCommands::help()
{
    QFETCH(QString, path);
    FMSettings::defineKeys(); // the examples show the bounds before the band is set
    QTEST(store->help(path), "line");
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
