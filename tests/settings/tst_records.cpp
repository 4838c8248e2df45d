// Channel records with their defaults, audio sources and playlists.
#include "KeyRecorder.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultFrequencyPlan_data();
    void defaultFrequencyPlan();
    void emptyProjectChannelDefaults();
    void storedValuesAreReadAndClamped();
    void setChannelConfigWritesOnlyItsKeys();
    void oneFieldReadsAsTheWholeRecord_data();
    void oneFieldReadsAsTheWholeRecord();

    void unknownAudioSourceIsDefault();
    void setAudioCreatesNamedSource();
    void setAudioReusesFirstUnusedSource();
    void setAudioSignalSkipsNegativeArguments();
    void removeAndFileOperations();

    void addPlaylistFiles_data();
    void addPlaylistFiles();
    void shrinkingPlaylistRemovesSurplusKeys();
    void deletePlaylistClearsSourcesThatPlayIt();
    void newPlaylistTakesLowestFreeNumber();
    void nameLists();

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMSettings> store;
};

void TestRecords::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = std::make_unique<FMSettings>(path(QStringLiteral("default.fm")));
}

void TestRecords::cleanup()
{
    store.reset();
    dir.reset();
}

void TestRecords::defaultFrequencyPlan_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<double>("mhz");
    QTest::newRow("1") << 1 << 87.5;
    QTest::newRow("2") << 2 << 88.1;
    QTest::newRow("3") << 3 << 89.1;
    QTest::newRow("8") << 8 << 93.5;
    QTest::newRow("24 last of board 1") << 24 << 107.1;
    QTest::newRow("25 first of board 2") << 25 << 87.8;
    QTest::newRow("49 from the third board's plan") << 49 << 88.9;
    QTest::newRow("50") << 50 << 88.7;
    QTest::newRow("53 from the plan, not 91.8") << 53 << 91.0;
    QTest::newRow("69 last of the plan") << 69 << 104.6;
    QTest::newRow("72") << 72 << 107.7;
    QTest::newRow("96 capped at 108") << 96 << 108.0;
}

void TestRecords::defaultFrequencyPlan()
{
    QFETCH(int, channel);
    QFETCH(double, mhz);
    QCOMPARE(store->channel(channel).freq, mhz);
    QVERIFY(store->channel(channel).freq <= 108.0 + 1e-9);
}

void TestRecords::emptyProjectChannelDefaults()
{
    const ChannelConfig c = store->channel(1);
    QCOMPARE(c.channel, 1);
    QCOMPARE(c.used, false);
    QCOMPARE(c.mute, false);
    QCOMPARE(c.mono, false);
    QCOMPARE(c.freq, 87.5);
    QCOMPARE(int(c.gain), 0);
    QCOMPARE(int(c.volm), 40);
    QCOMPARE(c.devi, 75);
    QCOMPARE(c.emph, 1);
    QCOMPARE(c.rate, 44100);
    QCOMPARE(c.autoRate, false);
    QCOMPARE(c.idaudio, 0);
    QCOMPARE(c.idrds, 0);
}

void TestRecords::storedValuesAreReadAndClamped()
{
    {
        QSettings file(path(QStringLiteral("p.fm")), QSettings::IniFormat);
        file.setValue(QStringLiteral("channel.4/gain"), 300);
        file.setValue(QStringLiteral("channel.4/volm"), -1);
        file.setValue(QStringLiteral("channel.4/freq"), QStringLiteral("99.9"));
        file.setValue(QStringLiteral("channel.4/used"), QStringLiteral("true"));
        file.setValue(QStringLiteral("channel.4/idrds"), 3);
        file.setValue(QStringLiteral("channel.4/auto"), 1);
    }
    FMSettings project(path(QStringLiteral("p.fm")));
    const ChannelConfig c = project.channel(4);
    QCOMPARE(int(c.gain), 0); // 300 held to -60..0 dB
    QCOMPARE(int(c.volm), 0); // -1 held to 0..100 %
    QCOMPARE(c.freq, 99.9);
    QCOMPARE(c.used, true);
    QCOMPARE(c.idrds, 3);
    QCOMPARE(c.autoRate, true);
    QVERIFY(!project.isDirty());
}

void TestRecords::oneFieldReadsAsTheWholeRecord_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored"); // empty: the key is absent
    for (const char* name : {"used", "mute", "mono", "freq", "gain", "volm", "devi", "emph", "rate",
                             "auto", "idaudio", "idrds"}) {
        QTest::addRow("%s stored", name) << name << "300";
        QTest::addRow("%s absent", name) << name << "";
    }
}

// A strip or a programme told that one key changed takes that key alone from
// the notification (null when the key was removed); it must come out as
// reading the whole record would, defaults included.
void TestRecords::oneFieldReadsAsTheWholeRecord()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    {
        QSettings file(path(QStringLiteral("p.fm")), QSettings::IniFormat);
        file.setValue(QStringLiteral("channel.8/used"), 1);
        if (!stored.isEmpty())
            file.setValue(QStringLiteral("channel.9/") + name, stored);
    }
    FMSettings project(path(QStringLiteral("p.fm")));
    ChannelConfig read = project.channel(9);
    const ChannelConfig whole = read;
    // Every field of the copy differs from the store's before the read.
    read.used = !read.used;
    read.mute = !read.mute;
    read.mono = !read.mono;
    read.freq += 1.0;
    read.gain = qint8(read.gain + 1);
    read.volm = qint8(read.volm + 1);
    read.devi += 1;
    read.emph += 1;
    read.rate += 1;
    read.autoRate = !read.autoRate;
    read.idaudio += 1;
    read.idrds += 1;
    // A change is notified with the value the store took.
    const QVariant notified = project.value(QStringLiteral("channel.9/") + name);
    QCOMPARE(notified.isValid(), !stored.isEmpty());
    QVERIFY(FMSettings::takeChannelField(9, name, notified, read));
    const auto fieldOf = [&name](const ChannelConfig& c) {
        const QMap<QString, double> fields{
            {"used", c.used}, {"mute", c.mute},     {"mono", c.mono},       {"freq", c.freq},
            {"gain", c.gain}, {"volm", c.volm},     {"devi", c.devi},       {"emph", c.emph},
            {"rate", c.rate}, {"auto", c.autoRate}, {"idaudio", c.idaudio}, {"idrds", c.idrds}};
        return fields.value(name);
    };
    QCOMPARE(fieldOf(read), fieldOf(whole));
    QVERIFY(!FMSettings::takeChannelField(9, QStringLiteral("name"), notified, read));
}

void TestRecords::setChannelConfigWritesOnlyItsKeys()
{
    ChannelConfig c = store->channel(5);
    c.mono = true;
    c.rate = 48000;
    c.freq = 100.0; // not one of the keys the dialog writes
    store->setChannelConfig(5, c);
    const QStringList keys = store->rawChildKeys(QStringLiteral("channel.5"));
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()),
             (QSet<QString>{"mono", "devi", "emph", "rate", "auto"}));
    QCOMPARE(store->channel(5).mono, true);
    QCOMPARE(store->channel(5).rate, 48000);
}

void TestRecords::unknownAudioSourceIsDefault()
{
    const AudioSource a = store->audioSource(7);
    QCOMPARE(a.used, true);
    QCOMPARE(a.type, 0);
    QCOMPARE(int(a.time), 6);
    QCOMPARE(int(a.frq1), 440);
    QCOMPARE(int(a.frq2), 880);
    QCOMPARE(int(a.vol1), 40);
    QCOMPARE(int(a.vol2), 40);
    QVERIFY(a.file.isEmpty());
    QVERIFY(a.name.isEmpty());
}

void TestRecords::setAudioCreatesNamedSource()
{
    const AudioSource a = store->setAudio(QString());
    QCOMPARE(a.name, QStringLiteral("Audio-1"));
    QCOMPARE(a.type, 0);
    const QStringList keys = store->rawChildKeys(QStringLiteral("audio.1"));
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()), (QSet<QString>{"name", "used"}));
    QCOMPARE(store->audioSource(1).name, QStringLiteral("Audio-1"));
    QVERIFY(store->isDirty());
}

void TestRecords::setAudioReusesFirstUnusedSource()
{
    store->setAudio(QString());
    store->setAudio(QString());
    store->setAudio(QString());
    store->setAudioName(3, QStringLiteral("Jingles"));
    QVERIFY(store->removeAudio(3));
    const AudioSource reused = store->setAudio(QStringLiteral("/x.wav"));
    QCOMPARE(reused.name, QStringLiteral("Jingles"));
    QCOMPARE(reused.type, int(AudioSource::File));
    QCOMPARE(reused.file, QStringLiteral("/x.wav"));
    QCOMPARE(store->audioSources().size(), 3);
    QCOMPARE(store->value(QStringLiteral("audio.3.file")).toString(), QStringLiteral("/x.wav"));
    QCOMPARE(store->value(QStringLiteral("audio.3.type")).toInt(), 2);
    QCOMPARE(store->value(QStringLiteral("audio.3.used")).toInt(), 1);
}

void TestRecords::setAudioSignalSkipsNegativeArguments()
{
    store->setAudio(QString());
    QVERIFY(!store->setAudioSignal(0, 1, 1, 1, 1, 1));
    QVERIFY(store->setAudioSignal(1, -1, 1000, -1, -1, 10));
    const AudioSource a = store->audioSource(1);
    QCOMPARE(int(a.frq1), 440);
    QCOMPARE(int(a.frq2), 1000);
    QCOMPARE(int(a.vol1), 40);
    QCOMPARE(int(a.time), 10);
    QVERIFY(!store->contains(QStringLiteral("audio.1.frq1")));
    QCOMPARE(store->value(QStringLiteral("audio.1.frq2")).toInt(), 1000);
}

void TestRecords::removeAndFileOperations()
{
    QVERIFY(!store->removeAudio(9));
    store->setAudioFile(2, QStringLiteral("/music/a.flac"));
    QCOMPARE(store->audioSource(2).file, QStringLiteral("/music/a.flac"));
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("*"), &recorder);
    store->setAudioFile(2, QString());
    QCoreApplication::sendPostedEvents();
    QVERIFY(recorder.keys().isEmpty()); // removed without a notification
    QVERIFY(!store->contains(QStringLiteral("audio.2.file")));
    QVERIFY(store->audioSource(2).file.isEmpty());
    store->unsubscribeAll(&recorder);
}

void TestRecords::addPlaylistFiles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("row beyond the end appends") << 99 << QStringList{"/a", "/b", "/c", "/x", "/y"};
    QTest::newRow("negative row appends") << -1 << QStringList{"/a", "/b", "/c", "/x", "/y"};
    QTest::newRow("row 1 inserts before the second")
        << 1 << QStringList{"/a", "/x", "/y", "/b", "/c"};
}

void TestRecords::addPlaylistFiles()
{
    QFETCH(int, row);
    QFETCH(QStringList, expected);
    store->addPlaylistFiles(2, -1, {"/a", "/b", "/c"});
    QCOMPARE(store->addPlaylistFiles(2, row, {"/x", "/y"}), expected);
    QCOMPARE(store->playlist(2), expected);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(store->rawValue(QStringLiteral("playlist.2/%1").arg(i)).toString(), expected[i]);
}

void TestRecords::shrinkingPlaylistRemovesSurplusKeys()
{
    const QString relative = QStringLiteral("song.flac");
    const QStringList five{"/m/1.flac", "/m/2.flac", "/m/3.flac", "/m/4.flac", relative};
    store->addPlaylistFiles(1, -1, five);
    QCOMPARE(store->playlist(1).last(), QDir::current().absoluteFilePath(relative));
    store->newPlaylist();
    store->setPlaylistName(1, QStringLiteral("Morning"));

    KeyRecorder recorder;
    store->subscribe(QStringLiteral("playlist.1"), &recorder);
    const QStringList three{"/m/1.flac", "/m/3.flac", "/m/4.flac"};
    store->removePlaylistFiles(1, three);
    QCoreApplication::sendPostedEvents();

    QCOMPARE(store->rawNumberedKeys(QStringLiteral("playlist.1")), (QList<int>{0, 1, 2}));
    QCOMPARE(store->rawValue(QStringLiteral("playlist.1/name")).toString(),
             QStringLiteral("Morning"));
    QCOMPARE(store->playlist(1), three);
    // Items 1 and 2 changed and were notified; the end of the list is published.
    QCOMPARE(recorder.keys(), (QStringList{"playlist.1/1", "playlist.1/2", "playlist.1/3"}));
    QVERIFY(!recorder.values().last().isValid());
    store->unsubscribeAll(&recorder);

    // The file on disk holds the short list too.
    store->sync();
    QSettings file(path(QStringLiteral("default.fm")), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("playlist.1"));
    QCOMPARE(file.childKeys().size(), 4); // name, 0, 1, 2
}

void TestRecords::deletePlaylistClearsSourcesThatPlayIt()
{
    store->setAudio(QStringLiteral("Playlist.2"));
    store->setAudio(QStringLiteral("playlist.2"));
    store->setAudio(QStringLiteral("playlist.3"));
    store->addPlaylistFiles(2, -1, {"/a"});
    QVERIFY(store->deletePlaylist(2));
    QVERIFY(!store->deletePlaylist(2));
    QVERIFY(store->audioSource(1).file.isEmpty());
    QVERIFY(store->audioSource(2).file.isEmpty());
    QCOMPARE(store->audioSource(3).file, QStringLiteral("playlist.3"));
    QCOMPARE(store->value(QStringLiteral("audio.1.file")).toString(), QString());
    QVERIFY(store->rawChildKeys(QStringLiteral("playlist.2")).isEmpty());
    QVERIFY(store->playlist(2).isEmpty());
}

void TestRecords::newPlaylistTakesLowestFreeNumber()
{
    QCOMPARE(store->newPlaylist(), 1);
    QCOMPARE(store->newPlaylist(), 2);
    QCOMPARE(store->newPlaylist(), 3);
    QCOMPARE(store->newPlaylist(), 4);
    QVERIFY(store->deletePlaylist(3));
    QCOMPARE(store->newPlaylist(), 3);
    QVERIFY(!store->setPlaylistName(9, QStringLiteral("none")));
}

void TestRecords::nameLists()
{
    store->setAudio(QString());
    store->setAudio(QString());
    store->removeAudio(1);
    const QMap<int, QString> names = store->audioSourceNames();
    QCOMPARE(names.keys(), (QList<int>{0, 2}));
    QCOMPARE(names.value(2), QStringLiteral("Audio-2"));
    QCOMPARE(FMSettings::audioTypeNames(), (QStringList{"Sinus", "Rampe", "Datei"}));
    QCOMPARE(store->rdsSourceNames().keys(), QList<int>{0});
    QVERIFY(store->tmcSourceNames().isEmpty());
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
