// Distances between used channels and the automatic AF lists of sources
// that share a PI.
#include "KeyRecorder.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
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
    QCOMPARE(store->value(QStringLiteral("rds.1.eon.0.af")).toString(), QStringLiteral("881"));
    QCOMPARE(store->rdsSource(1).eon.value(0).af.size(), 1);
}

QTEST_GUILESS_MAIN(TestFrequencyPlan)
#include "tst_frequencyplan.moc"
