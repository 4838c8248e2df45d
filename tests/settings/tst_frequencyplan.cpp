// Distances between used channels and the automatic AF lists of sources
// that share a PI.
#include "KeyRecorder.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestFrequencyPlan : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void distancesOfUsedChannels();
    void singleChannelIsAlone();
    void switchingAChannelOff();
    void sameFrequencyPublishesNothing();
    void autoAFCollectsChannelsOfEqualPI();
    void autoAFFollowsFrequencyChanges();
    void eonEntriesTakeTheLinkedSourcesAFs();
    void linkedEonListsLiveInMemory();

private:
    void settle() { QCoreApplication::sendPostedEvents(); }
    void openProject(const QMap<QString, QVariant>& keys);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMSettings> store;
    std::unique_ptr<KeyRecorder> recorder;
};

void TestFrequencyPlan::init()
{
    dir = std::make_unique<QTemporaryDir>();
    recorder = std::make_unique<KeyRecorder>();
}

void TestFrequencyPlan::cleanup()
{
    if (store)
        store->unsubscribeAll(recorder.get());
    store.reset();
    recorder.reset();
    dir.reset();
}

void TestFrequencyPlan::openProject(const QMap<QString, QVariant>& keys)
{
    const QString path = dir->filePath(QStringLiteral("default.fm"));
    {
        QSettings file(path, QSettings::IniFormat);
        for (auto it = keys.cbegin(); it != keys.cend(); ++it)
            file.setValue(it.key(), *it);
    }
    store = std::make_unique<FMSettings>(path);
    store->subscribe(QStringLiteral("chinfo"), recorder.get());
    store->subscribe(QStringLiteral("rds"), recorder.get());
}

void TestFrequencyPlan::distancesOfUsedChannels()
{
    openProject({{"channel.1/used", 1}, {"channel.2/used", 1}, {"channel.3/used", 1}});
    store->updateAllDistances();
    settle();
    const QMap<QString, QString> published = recorder->lastValuesAsText();
    QCOMPARE(published.value("chinfo.1/dist"), QStringLiteral("0.600"));
    QCOMPARE(published.value("chinfo.2/dist"), QStringLiteral("0.600"));
    QCOMPARE(published.value("chinfo.3/dist"), QStringLiteral("1.000"));
    QCOMPARE(published.size(), 3);
}

void TestFrequencyPlan::singleChannelIsAlone()
{
    openProject({{"channel.7/used", 1}});
    store->updateAllDistances();
    settle();
    QCOMPARE(recorder->lastValuesAsText(), (QMap<QString, QString>{{"chinfo.7/dist", "100.000"}}));
}

void TestFrequencyPlan::switchingAChannelOff()
{
    openProject({{"channel.1/used", 1}, {"channel.2/used", 1}, {"channel.3/used", 1}});
    store->updateAllDistances();
    settle();
    recorder->clear();
    store->setChannelFreq(2, 0, false);
    settle();
    const QMap<QString, QString> published = recorder->lastValuesAsText();
    QCOMPARE(published.value("chinfo.1/dist"), QStringLiteral("1.600"));
    QCOMPARE(published.value("chinfo.3/dist"), QStringLiteral("1.600"));
    QVERIFY(!published.contains("chinfo.2/dist"));
    // Channels beyond the boards in use are ignored.
    store->setChannelFreq(25, 90.0, true);
    QVERIFY(!store->contains(QStringLiteral("channel.25.freq")));
}

void TestFrequencyPlan::sameFrequencyPublishesNothing()
{
    openProject({{"channel.1/used", 1}, {"channel.2/used", 1}});
    store->updateAllDistances();
    store->setChannelFreq(2, 90.0, true);
    QCOMPARE(store->value(QStringLiteral("channel.2.freq")).toString(), QStringLiteral("90.000"));
    settle();
    recorder->clear();
    store->setChannelFreq(2, 90.0, true);
    settle();
    QCOMPARE(recorder->count(), 0);
}

void TestFrequencyPlan::autoAFCollectsChannelsOfEqualPI()
{
    openProject({{"channel.1/used", 1},
                 {"channel.1/idrds", 1},
                 {"channel.5/used", 1},
                 {"channel.5/idrds", 2},
                 {"channel.5/freq", 91.2},
                 {"rds.1/pi", "d311"},
                 {"rds.1/afs", "1000"},
                 {"rds.2/pi", "d311"},
                 {"rds.3/pi", "beef"}});
    store->updateAllDistances();
    settle();
    QVERIFY(!recorder->lastValuesAsText().contains("rds.1/af")); // nothing before the first request
    store->updateAutoAF(true);
    settle();
    const QMap<QString, QString> published = recorder->lastValuesAsText();
    QCOMPARE(published.value("rds.1/af"), QStringLiteral("875 912 1000"));
    QCOMPARE(published.value("rds.2/af"), QStringLiteral("875 912"));
    QVERIFY(!published.contains("rds.3/af"));
    const QList<AFEntry> af = store->rdsSource(1).af;
    QCOMPARE(af.size(), 2);
    QCOMPARE(af[0].freq, 875);
    QCOMPARE(int(af[0].marker), 1);
    QCOMPARE(af[1].freq, 912);
    QCOMPARE(int(af[1].marker), 5);
    QVERIFY(store->rdsSource(3).af.isEmpty());

    recorder->clear();
    store->updateAutoAF(false); // nothing changed: nothing published
    settle();
    QCOMPARE(recorder->count(), 0);
}

void TestFrequencyPlan::autoAFFollowsFrequencyChanges()
{
    openProject({{"channel.1/used", 1},
                 {"channel.1/idrds", 1},
                 {"channel.5/used", 1},
                 {"channel.5/idrds", 2},
                 {"channel.5/freq", 91.2},
                 {"rds.1/pi", "d311"},
                 {"rds.2/pi", "d311"}});
    store->updateAllDistances();
    store->updateAutoAF(true);
    settle();
    recorder->clear();
    store->setChannelFreq(5, 91.3, true);
    settle();
    const QMap<QString, QString> published = recorder->lastValuesAsText();
    QCOMPARE(published.value("rds.1/af"), QStringLiteral("875 913"));
    QCOMPARE(published.value("rds.2/af"), QStringLiteral("875 913"));
}

void TestFrequencyPlan::eonEntriesTakeTheLinkedSourcesAFs()
{
    openProject({{"channel.1/used", 1},
                 {"channel.1/idrds", 1},
                 {"channel.2/used", 1},
                 {"channel.2/idrds", 2},
                 {"rds.1/pi", "d311"},
                 {"rds.2/pi", "d312"},
                 {"rds.1/eon/0", "2 d312 10 1 0 0"}});
    store->updateAllDistances();
    store->updateAutoAF(true);
    settle();
    QCOMPARE(recorder->lastValuesAsText().value("rds.1/eon/0/af"), QStringLiteral("881"));
    QCOMPARE(store->rdsSource(1).eon.value(0).af.size(), 1);
    QVERIFY(!store->contains(QStringLiteral("rds.1/eon/0/af"))); // derived, not stored
}

void TestFrequencyPlan::linkedEonListsLiveInMemory()
{
    // Row 0 is linked to channel 29, whose source also goes out on channels
    // 2 and 3; channel 29 lies beyond the one board of the plan. Row 1 is
    // typed by hand.
    openProject({{"channel.1/used", 1},
                 {"channel.1/idrds", 1},
                 {"channel.1/freq", "96.2"},
                 {"channel.2/used", 1},
                 {"channel.2/idrds", 2},
                 {"channel.2/freq", "100.2"},
                 {"channel.3/used", 1},
                 {"channel.3/idrds", 2},
                 {"channel.3/freq", "104.2"},
                 {"channel.29/used", 1},
                 {"channel.29/idrds", 2},
                 {"channel.29/freq", "93.2"},
                 {"rds.1/pi", "d311"},
                 {"rds.2/pi", "d312"},
                 {"rds.1/eon/0", "29 d312 10 1 0 0"},
                 {"rds.1/eon/0/af", "932 962 1002 1042"},
                 {"rds.1/eon/1", "0 d399 3 0 0 0"},
                 {"rds.1/eon/1/af", "1079"}});
    const QString path = dir->filePath(QStringLiteral("default.fm"));
    const auto bytes = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    const auto frequencies = [this](int row) {
        QList<int> list;
        for (const AFEntry& entry : store->rdsSource(1).eon.value(row).af)
            list.append(entry.freq);
        return list;
    };

    // What the main window does with a project it opens.
    store->updateAllDistances();
    store->updateAutoAF(true);
    store->publishDistances();
    settle();
    const QList<int> derived{932, 1002, 1042}; // the linked network's own frequency first
    QCOMPARE(frequencies(0), derived);
    QCOMPARE(recorder->lastValuesAsText().value("rds.1/eon/0/af"), QStringLiteral("932 1002 1042"));
    QCOMPARE(frequencies(1), QList<int>{1079});
    // A remote GET reads what goes on air.
    QCOMPARE(store->get(QStringLiteral("rds.1.eon.0.af")).toString(),
             QStringLiteral("932 1002 1042"));
    QCOMPARE(store->get(QStringLiteral("rds.1.eon.1.af")).toString(), QStringLiteral("1079"));
    QVERIFY(!store->isDirty());
    QVERIFY(store->writeNow());
    QCOMPARE(bytes(), before);

    // Another edit of the source re-reads its keys: the derived list stays.
    QCOMPARE(store->set(QStringLiteral("rds.1.ps"), QStringLiteral("OTHER")), 0);
    QCOMPARE(frequencies(0), derived);

    // Saving the EON table stores what is shown.
    QList<EON> rows = store->rdsSource(1).eon;
    QVERIFY(store->setEON(1, rows));
    QCOMPARE(store->value(QStringLiteral("rds.1/eon/0/af")).toString(),
             QStringLiteral("932 1002 1042"));
    QCOMPARE(store->value(QStringLiteral("rds.1/eon/1/af")).toString(), QStringLiteral("1079"));
}

QTEST_GUILESS_MAIN(TestFrequencyPlan)
#include "tst_frequencyplan.moc"
