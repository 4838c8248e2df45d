// The project file reader: every family read from a current file, the values
// of missing keys, the one-time conversion of older files, band and
// attenuation, numbered lists, damaged files, and the round trip of every
// record through the store's own writers.
#include "KeyRecorder.h"
#include "LogCapture.h"
#include "ProjectFileKit.h"

#include "settings/ListCodecs.h"
#include "settings/ParameterSchema.h"
#include "settings/RDSSampleText.h"

#include <QDate>
#include <QDir>
#include <QTest>

#include <functional>

using Field = std::function<QVariant(FMSettings&, int)>;
Q_DECLARE_METATYPE(Field)

namespace {

Field rdsField(std::function<QVariant(const RDSSource&)> get)
{
    return [get](FMSettings& store, int n) { return get(store.rdsSource(n)); };
}

Field tmcField(std::function<QVariant(const TMCSource&)> get)
{
    return [get](FMSettings& store, int n) { return get(store.tmcSource(n)); };
}

Field audioField(std::function<QVariant(const AudioSource&)> get)
{
    return [get](FMSettings& store, int n) { return get(store.audioSource(n)); };
}

int todayDayCount()
{
    return int(QDate(1900, 3, 1).daysTo(QDate::currentDate()));
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void currentFileLoadsEveryFamily();
    void linkedEONFollowsItsSourceOnLoad();
    void linkedEONFollowsSourcesReadBeforeIt();
    void missingKeysTakeTheFileDefaults_data();
    void missingKeysTakeTheFileDefaults();
    void olderFileIsConvertedOnce();
    void everyLoadWritesAFreshRandAndFlushes();
    void bandAndAttenuationLoadClamped_data();
    void bandAndAttenuationLoadClamped();
    void clampedBandIsPublished();
    void numberedListsReadInNumericOrder();
    void tmcMessagesStopAtTheFirstGap();
    void malformedFileLoadsWhatItCan();
    void valuesAreHeldToTheSchema_data();
    void valuesAreHeldToTheSchema();
    void groupsWithoutAPlainNumberAreSkipped();
    void reloadGroupRereadsOneFamily();
    void everyRecordSurvivesARoundTrip();
    void unchangedRDSWriteBackLeavesTheProjectClean();
};

void TestProjectFile::currentFileLoadsEveryFamily()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.copyFixture(QStringLiteral("current.fm")));

    const AudioSource audio = store->audioSource(2);
    QCOMPARE(audio.name, QStringLiteral("Studio"));
    QCOMPARE(audio.type, int(AudioSource::File));
    QCOMPARE(audio.file, QStringLiteral("playlist.1"));
    QCOMPARE(audio.frq2, quint16(2000));
    QCOMPARE(audio.vol2, quint16(60));
    QCOMPARE(audio.time, quint16(8));

    QCOMPARE(store->playlists().value(1).name, QStringLiteral("Morning"));

    const RDSSource rds = store->rdsSource(1);
    QCOMPARE(rds.name, QStringLiteral("Radio One"));
    QCOMPARE(rds.pi, quint16(0xD311));
    QCOMPARE(rds.ms, quint8(0));
    QCOMPARE(rds.rtc, QStringLiteral("Hello, world"));
    QCOMPARE(rds.enc, QByteArray("UTF-8"));
    QCOMPARE(rds.zone, qint8(-2));
    QCOMPARE(rds.mins, -30);
    QCOMPARE(rds.days, quint32(43000));
    QCOMPARE(rds.fused, true);
    QCOMPARE(rds.files, QStringList({"/logs/a.txt", "/logs/b.txt"}));
    QCOMPARE(rds.afr, QList<qint32>{1000});
    QCOMPARE(pairsToText(rds.afs), QStringLiteral("958 -1000 1023"));
    QCOMPARE(rds.afs[1].regional, quint8(1));
    QCOMPARE(rds.afs[0].regional, quint8(0));
    QCOMPARE(rds.gmin[2].on, quint8(1));
    QCOMPARE(rds.gmin[2].rate[0], 20);
    QCOMPARE(rds.gmin[18].rate[0], -5); // 2B, a filler with weight 5
    QCOMPARE(rds.gmin[18].rate[1], 3);
    QCOMPARE(rds.rttag.size(), 2);
    QCOMPARE(rds.rttag[1].type, 4);
    QCOMPARE(rds.rttag[1].text, QStringLiteral("The Artist"));
    QCOMPARE(rds.eon.size(), 2);
    QCOMPARE(rds.eon[1].pi, quint16(0xD399));
    QCOMPARE(rds.eon[1].link, quint16(0x1A2));
    QCOMPARE(rds.eon[1].ps, QStringLiteral("OTHER"));
    QCOMPARE(pairsToText(rds.eon[1].af), QStringLiteral("904 -958"));
    QCOMPARE(rds.oda.size(), 1);
    QCOMPARE(rds.oda[0].data[0], quint16(0xCD46));
    QCOMPARE(rds.oda[0].check[0], quint16(0x400));
    QCOMPARE(rds.oda[0].active, quint32(1));

    const TMCSource tmc = store->tmcSource(1);
    QCOMPARE(tmc.spn, QStringLiteral("Provider"));
    QCOMPARE(tmc.va1, quint16(0x400D));
    QCOMPARE(tmc.skt[2], quint16(0xAB));
    QCOMPARE(tmc.skt[3], quint16(0xFFFF));
    QCOMPARE(tmc.skt[4], quint16(0));
    QCOMPARE(tmc.messages.size(), 2);
    QCOMPARE(tmc.messages[1].labels, QList<quint32>({7, 8}));

    QCOMPARE(store->band(), 1);
    QCOMPARE(store->attenuation(), -10);
    QCOMPARE(store->channel(1).freq, 95.8);
    // Groups nobody reads stay in the file.
    QVERIFY(store->rawContains(QStringLiteral("events.1/repeat")));
    QVERIFY(!store->isDirty());
}

void TestProjectFile::linkedEONFollowsItsSourceOnLoad()
{
    // rds.1's EON entry 0 names channel 5, whose RDS source is rds.2.
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.copyFixture(QStringLiteral("current.fm")));
    const EON entry = store->rdsSource(1).eon[0];
    QCOMPARE(entry.channel, quint8(5));
    QCOMPARE(entry.pi, quint16(0xD312));
    QCOMPARE(entry.ps, QStringLiteral("TWO"));
    QCOMPARE(entry.pty, quint8(3));
    QCOMPARE(entry.tp, quint8(0));
    QCOMPARE(entry.ta, quint8(1));
}

// Whichever of two sources the file holds first, each one's EON entry
// carries the other's values after the load.
void TestProjectFile::linkedEONFollowsSourcesReadBeforeIt()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(
        folder.write("[channel.1]\nidrds=1\n[channel.2]\nidrds=2\n"
                     "[rds.1]\nps=ONE\npi=d301\npty=4\neon\\0=2 0 0 0 0 0\n"
                     "[rds.2]\nps=TWO\npi=d302\npty=7\neon\\0=1 0 0 0 0 0\n"));
    const EON first = store->rdsSource(1).eon.value(0);
    QCOMPARE(first.ps, QStringLiteral("TWO"));
    QCOMPARE(first.pi, quint16(0xD302));
    QCOMPARE(first.pty, quint8(7));
    const EON second = store->rdsSource(2).eon.value(0);
    QCOMPARE(second.ps, QStringLiteral("ONE"));
    QCOMPARE(second.pi, quint16(0xD301));
    QCOMPARE(second.pty, quint8(4));
}

void TestProjectFile::missingKeysTakeTheFileDefaults_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("number");
    QTest::addColumn<Field>("field");
    QTest::addColumn<QVariant>("expected");

    const QByteArray audio4 = "[audio.4]\nused=false\n";
    QTest::newRow("audio name") << audio4 << 4
                                << audioField([](auto& a) { return QVariant(a.name); })
                                << QVariant("Audio-4");
    QTest::newRow("audio used as written")
        << audio4 << 4 << audioField([](auto& a) { return QVariant(a.used); }) << QVariant(false);
    QTest::newRow("audio vol1 100, not 40")
        << audio4 << 4 << audioField([](auto& a) { return QVariant(a.vol1); }) << QVariant(100);
    QTest::newRow("audio time 10, not 6")
        << audio4 << 4 << audioField([](auto& a) { return QVariant(a.time); }) << QVariant(10);
    QTest::newRow("audio without group: record default")
        << audio4 << 5 << audioField([](auto& a) { return QVariant(a.vol1); }) << QVariant(40);

    const QByteArray rds2 = "[rds.2]\nused=1\n";
    auto rds = [](std::function<QVariant(const RDSSource&)> get) {
        return rdsField(std::move(get));
    };
    QTest::newRow("rds name") << rds2 << 2 << rds([](auto& r) { return QVariant(r.name); })
                              << QVariant("RDS-2");
    QTest::newRow("rds ps") << rds2 << 2 << rds([](auto& r) { return QVariant(r.ps); })
                            << QVariant("RDS-2");
    QTest::newRow("rds lps") << rds2 << 2 << rds([](auto& r) { return QVariant(r.lps); })
                             << QVariant("RDS-2");
    QTest::newRow("rds pi d312") << rds2 << 2 << rds([](auto& r) { return QVariant(r.pi); })
                                 << QVariant(0xD312);
    QTest::newRow("rds mode 1, not 113")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.mode); }) << QVariant(1);
    QTest::newRow("rds afu 10, not 0")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.afu); }) << QVariant(10);
    QTest::newRow("rds endx 31, not 15")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.endx); }) << QVariant(31);
    QTest::newRow("rds enc text 0")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.enc); }) << QVariant(QByteArray("0"));
    QTest::newRow("rds days today")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.days); }) << QVariant(todayDayCount());
    QTest::newRow("rds rta sample text")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.rta); })
        << QVariant(RDSSampleText::text(RDSSampleText::A));
    QTest::newRow("rds rtd sample text")
        << rds2 << 2 << rds([](auto& r) { return QVariant(r.rtd); })
        << QVariant(RDSSampleText::text(RDSSampleText::D));
    QTest::newRow("rds pi not hexadecimal takes the default")
        << QByteArray("[rds.2]\npi=xyz\n") << 2 << rds([](auto& r) { return QVariant(r.pi); })
        << QVariant(0xD312);
    QTest::newRow("rds pi beyond 16 bits is clamped")
        << QByteArray("[rds.2]\npi=1d312\n") << 2 << rds([](auto& r) { return QVariant(r.pi); })
        << QVariant(0xFFFF);
    QTest::newRow("rds zone signed")
        << QByteArray("[rds.2]\nzone=-5\n") << 2 << rds([](auto& r) { return QVariant(r.zone); })
        << QVariant(-5);
    QTest::newRow("rds without group: record default")
        << rds2 << 3 << rds([](auto& r) { return QVariant(r.mode); }) << QVariant(0x71);

    const QByteArray tmc3 = "[tmc.3]\nname=Road\n";
    auto tmc = [](std::function<QVariant(const TMCSource&)> get) {
        return tmcField(std::move(get));
    };
    QTest::newRow("tmc used") << tmc3 << 3 << tmc([](auto& t) { return QVariant(t.used); })
                              << QVariant(1);
    QTest::newRow("tmc rate 10, not 15")
        << tmc3 << 3 << tmc([](auto& t) { return QVariant(t.rate); }) << QVariant(10);
    QTest::newRow("tmc va0 0") << tmc3 << 3 << tmc([](auto& t) { return QVariant(t.va0); })
                               << QVariant(0);
    QTest::newRow("tmc spn is the name")
        << tmc3 << 3 << tmc([](auto& t) { return QVariant(t.spn); }) << QVariant("Road");
    QTest::newRow("tmc without group: unused")
        << tmc3 << 4 << tmc([](auto& t) { return QVariant(t.used); }) << QVariant(0);

    QTest::newRow("playlist name from the group")
        << QByteArray("[playlist.3]\n0=/a.wav\n") << 3
        << Field([](FMSettings& s, int n) { return QVariant(s.playlists().value(n).name); })
        << QVariant("Playlist.3");
}

void TestProjectFile::missingKeysTakeTheFileDefaults()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, number);
    QFETCH(Field, field);
    QFETCH(QVariant, expected);

    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write(ini));
    const QVariant actual = field(*store, number);
    QCOMPARE(actual.toString(), expected.toString());
}

void TestProjectFile::olderFileIsConvertedOnce()
{
    ProjectFolder folder;
    const QString file = folder.copyFixture(QStringLiteral("older.fm"));
    QTest::ignoreMessage(QtDebugMsg, "FMS: found only old deprecated gmin9");
    {
        auto store = ProjectFolder::open(file);
        const RDSSource rds = store->rdsSource(1);
        QCOMPARE(rds.gmin[7].on, quint8(1));
        QCOMPARE(rds.gmin[7].rate[0], 24);
        QCOMPARE(rds.gmin[4].rate[0], -12); // truncated toward zero
        QCOMPARE(rds.gmin[9].rate[0], 6);
        QCOMPARE(rds.gmin[9].rate[1], 2);
        // The conversion is on disk while the store is still open.
        QCOMPARE(ProjectFolder::onDisk(file, "rds.1/7").toInt(), 24);
        QCOMPARE(ProjectFolder::onDisk(file, "board/gmin").toInt(), 1);
        QVERIFY(!store->isDirty());
    }
    auto again = ProjectFolder::open(file);
    QCOMPARE(again->rdsSource(1).gmin[7].rate[0], 24);
    QCOMPARE(again->rdsSource(1).gmin[4].rate[0], -12);
    QCOMPARE(ProjectFolder::onDisk(file, "rds.1/7").toInt(), 24);
}

void TestProjectFile::everyLoadWritesAFreshRandAndFlushes()
{
    ProjectFolder folder;
    const QString file = folder.copyFixture(QStringLiteral("current.fm"));
    QVariant firstRand;
    {
        auto store = ProjectFolder::open(file);
        firstRand = ProjectFolder::onDisk(file, "board/rand");
        QCOMPARE(firstRand, store->rawValue("board/rand"));
        QVERIFY(firstRand.toString() != QLatin1String("4711"));
    }
    auto again = ProjectFolder::open(file);
    QVERIFY(ProjectFolder::onDisk(file, "board/rand") != firstRand);
}

void TestProjectFile::bandAndAttenuationLoadClamped_data()
{
    QTest::addColumn<QByteArray>("board");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("attn");
    QTest::addColumn<double>("freqMin");
    QTest::addColumn<double>("freqMax");

    QTest::newRow("in range") << QByteArray("band=1\nattn=-10") << 1 << -10 << 76.0 << 95.0;
    QTest::newRow("above range") << QByteArray("band=7\nattn=-40") << 2 << -31 << 76.0 << 108.0;
    QTest::newRow("lowest attenuation unchanged")
        << QByteArray("band=0\nattn=-31") << 0 << -31 << 87.5 << 108.0;
    QTest::newRow("positive attenuation")
        << QByteArray("band=-3\nattn=3") << 0 << 0 << 87.5 << 108.0;
    QTest::newRow("missing") << QByteArray("rand=1") << 0 << 0 << 87.5 << 108.0;
    QTest::newRow("not numbers") << QByteArray("band=x\nattn=y") << 0 << 0 << 87.5 << 108.0;
}

void TestProjectFile::bandAndAttenuationLoadClamped()
{
    QFETCH(QByteArray, board);
    QFETCH(int, band);
    QFETCH(int, attn);
    QFETCH(double, freqMin);
    QFETCH(double, freqMax);

    ProjectFolder folder;
    const QString file = folder.write("[board]\n" + board + "\n");
    auto store = ProjectFolder::open(file);
    QCOMPARE(store->band(), band);
    QCOMPARE(store->attenuation(), attn);
    QCOMPARE(store->rawValue("board/band", 0).toInt(), band);
    QCOMPARE(store->rawValue("board/attn", 0).toInt(), attn);
    const KeyInfo freq = ParameterSchema::info(QStringLiteral("channel.freq"));
    QCOMPARE(freq.min, freqMin);
    QCOMPARE(freq.max, freqMax);
}

void TestProjectFile::clampedBandIsPublished()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write("[board]\nband=1\nattn=-3\n"));
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("board"), &recorder);
    int band = 9;
    int attn = -3;
    store->setBandAttn(band, attn);
    recorder.collect();
    QCOMPARE(band, 2);
    QCOMPARE(recorder.keys(), QStringList{"board.band"});
    QCOMPARE(recorder.values().value(0).toInt(), 2);
    QVERIFY(!store->isDirty());
}

void TestProjectFile::numberedListsReadInNumericOrder()
{
    QByteArray ini = "[rds.1]\nused=1\n";
    // Text order of the keys is 0, 1, 10, 11, 2, ...: the list must not be.
    for (int m : {0, 1, 10, 11, 2, 3, 4, 5, 6, 7, 8, 9}) {
        ini += QStringLiteral("eon\\%1=0 %2 1 1 0 0\n").arg(m).arg(0x1000 + m, 0, 16).toLatin1();
        ini += QStringLiteral("oda\\%1=%2\n").arg(m).arg(m, 0, 16).toLatin1();
        ini += QStringLiteral("rttag\\%1=1 tag%1\n").arg(m).toLatin1();
    }
    ini += "[playlist.1]\n10=/ten.wav\n2=/two.wav\n1=/one.wav\nx=/x.wav\n";
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write(ini));

    const RDSSource rds = store->rdsSource(1);
    QCOMPARE(rds.eon.size(), 12);
    QCOMPARE(rds.oda.size(), 12);
    QCOMPARE(rds.rttag.size(), 12);
    for (int m = 0; m < 12; ++m) {
        QCOMPARE(rds.eon[m].pi, quint16(0x1000 + m));
        QCOMPARE(rds.oda[m].data[0], quint16(m));
        QCOMPARE(rds.rttag[m].text, QStringLiteral("tag%1").arg(m));
    }
    QCOMPARE(store->playlist(1), QStringList({"/one.wav", "/two.wav", "/ten.wav"}));
}

void TestProjectFile::tmcMessagesStopAtTheFirstGap()
{
    ProjectFolder folder;
    auto store =
        ProjectFolder::open(folder.write("[tmc.1]\n0=1 0 1 1 1\n1=2 0 2 2 1\n3=4 0 4 4 1\n"));
    QCOMPARE(store->tmcSource(1).messages.size(), 2);
    QVERIFY(store->rawContains(QStringLiteral("tmc.1/3")));
}

void TestProjectFile::malformedFileLoadsWhatItCan()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.copyFixture(QStringLiteral("malformed.fm")));

    QCOMPARE(store->band(), 0);
    QCOMPARE(store->attenuation(), 0);

    const RDSSource rds = store->rdsSource(1);
    QCOMPARE(rds.name, QStringLiteral("Good Source"));
    QCOMPARE(rds.pi, quint16(0xD311)); // no number: the default
    QCOMPARE(rds.tp, quint8(0));
    QCOMPARE(rds.pty, quint8(12));
    QCOMPARE(rds.zone, qint8(1));
    QCOMPARE(rds.eon.size(), 1); // keys beyond 32 bits and "x" are not entries
    QCOMPARE(rds.eon[0].channel, quint8(3));
    QCOMPARE(rds.eon[0].pi, quint16(0xD313));
    QCOMPARE(rds.eon[0].pty, quint8(5));
    QCOMPARE(rds.eon[0].tp, quint8(1));
    QCOMPARE(rds.oda.size(), 1);
    QCOMPARE(rds.oda[0].data, (std::array<quint16, 4>{0xA, 0xB, 0xC, 0xD}));
    QCOMPARE(rds.oda[0].check, (std::array<quint16, 4>{1024, 1024, 1024, 1024}));
    QCOMPARE(rds.gmin[7].on, quint8(1));
    QCOMPARE(rds.gmin[7].rate[0], 0);
    QCOMPARE(rds.gmin[7].rate[1], 5);
    QCOMPARE(rds.rttag.size(), 1);
    QCOMPARE(rds.rttag[0].type, 0);
    QCOMPARE(pairsToText(rds.afs), QStringLiteral("958 -1000"));

    QCOMPARE(store->rdsSource(2).ps, QStringLiteral("TRUNCATED"));

    const TMCSource tmc = store->tmcSource(1);
    QCOMPARE(tmc.name, QStringLiteral("Traffic"));
    QCOMPARE(tmc.skt[0], quint16(1));
    QCOMPARE(tmc.skt[15], quint16(0x16));
    QCOMPARE(tmc.skt[31], quint16(0x32));
    QCOMPARE(tmc.messages.size(), 3);
    QCOMPARE(tmc.messages[0].event, quint16(1500));
    QCOMPARE(tmc.messages[0].location, quint16(0));
    QCOMPARE(tmc.messages[1].duration, quint8(0));
    QCOMPARE(tmc.messages[1].event, quint16(0)); // wider than 32 bits
    QCOMPARE(tmc.messages[1].location, quint16(7));
    QCOMPARE(tmc.messages[2], TMCMessage());

    const AudioSource audio = store->audioSource(3);
    QCOMPARE(audio.name, QStringLiteral("Tone"));
    QCOMPARE(audio.vol1, quint16(0));
    QCOMPARE(audio.frq1, quint16(22000)); // clamped into its range
}

// A file is held to the ranges SET keeps: out of range is clamped, no
// number takes the default, each with a log line naming the key; what SET
// would accept is left as it is.
void TestProjectFile::valuesAreHeldToTheSchema_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("loaded"); // GET after the load
    QTest::addColumn<Field>("field");
    QTest::addColumn<QVariant>("expected"); // the record or channel value
    QTest::addColumn<bool>("logged");

    const Field devi = [](FMSettings& store, int) { return QVariant(store.channel(1).devi); };
    const Field freq = [](FMSettings& store, int) { return QVariant(store.channel(1).freq); };
    const Field pi = rdsField([](const RDSSource& r) { return QVariant(r.pi); });
    const Field pty = rdsField([](const RDSSource& r) { return QVariant(r.pty); });
    const Field endx = rdsField([](const RDSSource& r) { return QVariant(r.endx); });
    const Field vol1 = audioField([](const AudioSource& a) { return QVariant(a.vol1); });
    const Field rpt = tmcField([](const TMCSource& t) { return QVariant(t.rpt); });

    QTest::newRow("deviation in range stays")
        << QByteArray("[channel.1]\ndevi=75\n") << "channel.1.devi"
        << "75" << devi << QVariant(75) << false;
    QTest::newRow("deviation one above the top")
        << QByteArray("[channel.1]\ndevi=131\n") << "channel.1.devi"
        << "130" << devi << QVariant(130) << true;
    QTest::newRow("deviation 1000") << QByteArray("[channel.1]\ndevi=1000\n") << "channel.1.devi"
                                    << "130" << devi << QVariant(130) << true;
    QTest::newRow("deviation at the top of int")
        << QByteArray("[channel.1]\ndevi=2147483647\n") << "channel.1.devi"
        << "130" << devi << QVariant(130) << true;
    QTest::newRow("negative deviation") << QByteArray("[channel.1]\ndevi=-5\n") << "channel.1.devi"
                                        << "0" << devi << QVariant(0) << true;
    QTest::newRow("deviation nan takes the default")
        << QByteArray("[channel.1]\ndevi=nan\n") << "channel.1.devi"
        << "75" << devi << QVariant(75) << true;
    QTest::newRow("frequency 1e308") << QByteArray("[channel.1]\nfreq=1e308\n") << "channel.1.freq"
                                     << "108" << freq << QVariant(108.0) << true;
    QTest::newRow("frequency outside the band stays: the band may change")
        << QByteArray("[board]\nband=1\n[channel.1]\nfreq=98\n") << "channel.1.freq"
        << "98" << freq << QVariant(98.0) << false;
    QTest::newRow("pi ffffffff") << QByteArray("[rds.1]\npi=ffffffff\n") << "rds.1.pi"
                                 << "ffff" << pi << QVariant(0xFFFF) << true;
    QTest::newRow("pty 99") << QByteArray("[rds.1]\npty=99\n") << "rds.1.pty"
                            << "31" << pty << QVariant(31) << true;
    QTest::newRow("pty 1e308") << QByteArray("[rds.1]\npty=1e308\n") << "rds.1.pty"
                               << "31" << pty << QVariant(31) << true;
    QTest::newRow("end flags of all five texts stay")
        << QByteArray("[rds.1]\nendx=31\n") << "rds.1.endx"
        << "31" << endx << QVariant(31) << false;
    QTest::newRow("volume nan") << QByteArray("[audio.1]\nvol1=nan\n") << "audio.1.vol1"
                                << "" << vol1 << QVariant(100) << true;
    QTest::newRow("TMC repeats 0") << QByteArray("[tmc.1]\nrpt=0\n") << "tmc.1.rpt"
                                   << "1" << rpt << QVariant(1) << true;
}

void TestProjectFile::valuesAreHeldToTheSchema()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, key);
    QFETCH(QString, loaded);
    QFETCH(Field, field);
    QFETCH(QVariant, expected);
    QFETCH(bool, logged);

    ProjectFolder folder;
    LogCapture log(QStringLiteral("FMS:"));
    auto store = ProjectFolder::open(folder.write(ini));
    QCOMPARE(store->get(key).toString(), loaded);
    QCOMPARE(field(*store, 1).toString(), expected.toString());
    const QString stored = Settings::normalizeKey(key);
    const QStringList lines = log.texts(QStringLiteral("FMS: ") + stored);
    QCOMPARE(lines.size(), logged ? 1 : 0);
    // The working copy holds the value in force, or no value when the
    // default is in force, so the next start reads the same.
    store->writeNow();
    if (store->rawContains(stored))
        QCOMPARE(ProjectFolder::onDisk(folder.path(), stored).toString(), loaded);
    else
        QVERIFY(!ProjectFolder::existsOnDisk(folder.path(), stored));
}

void TestProjectFile::groupsWithoutAPlainNumberAreSkipped()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.copyFixture(QStringLiteral("malformed.fm")));
    const QList<int> numbers = store->rdsSources().keys();
    QCOMPARE(numbers, QList<int>({1, 2, 2147483647}));
    // A source at the top of the int range leaves "new" a free number.
    QCOMPARE(store->newRDS(), 3);
    QCOMPARE(store->rdsSource(3).name, QStringLiteral("RDS-3"));
}

void TestProjectFile::reloadGroupRereadsOneFamily()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.copyFixture(QStringLiteral("current.fm")));
    store->rawStore(QStringLiteral("rds.1/ps"), QStringLiteral("CHANGED"));
    store->rawStore(QStringLiteral("rds.2/ps"), QStringLiteral("CHANGED"));
    store->rawStore(QStringLiteral("tmc.1/name"), QStringLiteral("Renamed"));

    store->reloadGroup(QStringLiteral("channel.1"), {1});
    QCOMPARE(store->rdsSource(1).ps, QStringLiteral("RADIO1"));

    store->reloadGroup(QStringLiteral("rds.1.ps"), {1});
    QCOMPARE(store->rdsSource(1).ps, QStringLiteral("CHANGED"));
    QCOMPARE(store->rdsSource(2).ps, QStringLiteral("TWO"));

    store->reloadGroup(QStringLiteral("tmc.1"), {1});
    QCOMPARE(store->tmcSource(1).name, QStringLiteral("Renamed"));

    store->rawRemove(QStringLiteral("audio.2"));
    store->reloadGroup(QStringLiteral("audio.2"), {2});
    QVERIFY(!store->audioSources().contains(2));
}

void TestProjectFile::everyRecordSurvivesARoundTrip()
{
    ProjectFolder folder;
    const QString file = folder.path();
    QMap<int, AudioSource> audio;
    QMap<int, Playlist> playlists;
    QMap<int, RDSSource> rds;
    QMap<int, TMCSource> tmc;
    {
        auto store = ProjectFolder::open(file);
        store->setValue(QStringLiteral("channel.3.freq"), 101.3);
        store->setValue(QStringLiteral("channel.3.gain"), -12);
        store->setValue(QStringLiteral("channel.3.idrds"), 2);

        store->setAudio(QStringLiteral("/music/x.flac"));
        store->setAudioSignal(1, 500, 600, 70, 80, 12);
        // "new" writes only name and used of an audio source; its tone values
        // would read back as the file's missing-key values (100 %, 10 s).
        store->setAudio(QString());
        store->setAudioSignal(2, 440, 880, 40, 40, 6);
        store->removeAudio(2);

        const int list = store->newPlaylist();
        store->addPlaylistFiles(list, -1, {QStringLiteral("/m/1.wav"), QStringLiteral("/m/2.ogg")});
        store->setPlaylistName(list, QStringLiteral("Evening"));

        QCOMPARE(store->newRDS(), 1);
        QCOMPARE(store->newRDS(), 2);
        RDSSource record = store->rdsSource(1);
        record.ps = QStringLiteral("ROUND");
        record.lps = QStringLiteral("Round trip, with commas");
        record.pi = 0x0ab1;
        record.rta = RDSSampleText::text(RDSSampleText::B);
        record.rtb = QStringLiteral("@starts with at");
        record.zone = -3;
        record.mins = -90;
        record.days = 45000;
        record.enc = "UTF-16BE";
        record.fused = true;
        record.files = {QStringLiteral("/logs/one.txt")};
        record.rttag = {{1, QStringLiteral("Title")}, {4, QStringLiteral("Artist name")}};
        record.tmcsi = 1;
        store->setRDS(1, record);
        store->setRDSName(1, QStringLiteral("First"));
        store->setAFr(1, 1000);
        QList<AFEntry> afs = afListFromText(QStringLiteral("958 -1000 1023"));
        store->setAFs(1, afs);
        QList<EON> eons(2);
        eons[0].pi = 0xD399;
        eons[0].ps = QStringLiteral("OTHER");
        eons[0].pty = 7;
        eons[0].link = 0x12;
        eons[0].af = afListFromText(QStringLiteral("904 -958"));
        eons[1].channel = 3; // uses rds.2
        store->setEON(1, eons);
        QList<ODARow> odas(1);
        odas[0].data = {0xCD46, 1, 2, 3};
        odas[0].check = {1024, 5, 1024, 7};
        odas[0].rate = {2, -4, 0, 1};
        odas[0].active = 1;
        store->setODA(1, odas);
        std::array<GroupRate, GroupRate::kGroupCount> rates{};
        rates[2] = {1, {20, 0, 5, 0}};
        rates[18] = {1, {-5, 3, 0, 0}};
        rates[4] = {0, {0, 10, 0, 0}};
        store->setGroupRates(1, rates);
        store->removeRDS(2);

        store->newTMC();
        store->newTMC(); // source 2 stays as "new" made it
        TMCSource source = store->tmcSource(1);
        source.flag = 0x2D;
        source.rate = 20;
        source.aid = 0x1234;
        source.va0 = 0x0051;
        source.va1 = 0x4123;
        source.va2 = 0x80E1;
        source.va3 = 0xC001;
        source.rpt = 5;
        source.enc = 7;
        source.spn = QStringLiteral("Provider");
        store->setTMCFile(1, source);
        store->setTMCWord(1, 0, 0xBEEF);
        store->setTMCWord(1, 31, 0x1);
        store->setTMCMessage(1, 0, tmcMessageFromText(QStringLiteral("1 0 1500 12345 1")));
        store->setTMCMessage(1, 1, tmcMessageFromText(QStringLiteral("2 3 20 30 2 4000000000 8")));

        audio = store->audioSources();
        playlists = store->playlists();
        rds = store->rdsSources();
        tmc = store->tmcSources();
    }
    auto reopened = ProjectFolder::open(file);
    QCOMPARE(reopened->channel(3).freq, 101.3);
    QCOMPARE(reopened->channel(3).gain, qint8(-12));
    QCOMPARE(reopened->audioSources(), audio);
    QCOMPARE(reopened->playlists(), playlists);
    QCOMPARE(reopened->rdsSources().keys(), rds.keys());
    for (int id : rds.keys()) {
        const RDSSource read = reopened->rdsSource(id);
        QCOMPARE(read.eon, rds[id].eon);
        QCOMPARE(read.oda, rds[id].oda);
        QCOMPARE(read.rttag, rds[id].rttag);
        QCOMPARE(read.afs, rds[id].afs);
        QCOMPARE(read.gmin, rds[id].gmin);
        QVERIFY2(read == rds[id], qPrintable(QStringLiteral("rds.%1 differs").arg(id)));
    }
    QCOMPARE(reopened->tmcSources().keys(), tmc.keys());
    for (int id : tmc.keys())
        QVERIFY2(reopened->tmcSource(id) == tmc[id],
                 qPrintable(QStringLiteral("tmc.%1 differs").arg(id)));
}

void TestProjectFile::unchangedRDSWriteBackLeavesTheProjectClean()
{
    ProjectFolder folder;
    const QString file = folder.path();
    {
        auto store = ProjectFolder::open(file);
        store->newRDS();
        RDSSource record = store->rdsSource(1);
        record.rttag = {{1, QStringLiteral("Title")}};
        record.files = {QStringLiteral("/a.txt"), QStringLiteral("/b.txt")};
        record.enc = "UTF-8";
        store->setRDS(1, record);
    }
    auto store = ProjectFolder::open(file);
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("rds"), &recorder);
    QVERIFY(store->setRDS(1, store->rdsSource(1)));
    recorder.collect();
    QVERIFY(!store->isDirty());
    QCOMPARE(recorder.keys(), QStringList());

    RDSSource changed = store->rdsSource(1);
    changed.ps = QStringLiteral("NEW");
    store->setRDS(1, changed);
    recorder.collect();
    QVERIFY(store->isDirty());
    QCOMPARE(recorder.keys(), QStringList{"rds.1/ps"});
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
