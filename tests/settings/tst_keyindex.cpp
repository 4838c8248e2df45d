// The store lists keys and groups from an index of its own; after any mix of
// writes, removals and reloads those listings must be the ones the ini file
// gives.
#include "ProjectFileKit.h"

#include <QFile>
#include <QSettings>
#include <QTest>

// verb, key, value; "outside" appends its text to the file as another
// program would.
using Step = QStringList;

class TestKeyIndex : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { store.reset(); }
    void listingsFollowTheFile_data();
    void listingsFollowTheFile();

private:
    void run(const Step& step);
    void compareWith(QSettings& ini);
    void compareWithFile();

    ProjectFolder folder;
    QString fileName;
    std::unique_ptr<FMSettings> store;
};

void TestKeyIndex::listingsFollowTheFile_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::newRow("the fixture as loaded") << QList<Step>{};
    // clang-format off
    QTest::newRow("command layer writes") << QList<Step>{
        {"set", "channel.1,3.gain", "-5"},
        {"set", "rds.1.ps", "NEW"},
        {"add", "tmc.1.", "1 2 3"},
        {"add", "playlist.3.", "/x.flac"},
        {"add", "rds.1.eon.0.af", "1000"},
        {"value", "rds.4.eon.2.ps", "FOUR"},
    };
    QTest::newRow("removals down to whole groups") << QList<Step>{
        {"remove", "rds.1.eon"},
        {"rawRemove", "rds.10"},
        {"remove", "channel.1"},
        {"remove", "channel.2.freq"},
        {"remove", "nosuch.1"},
    };
    QTest::newRow("list items renumbered by DEL") << QList<Step>{
        {"del", "rds.1.eon.0"},
        {"del", "playlist.2.*"},
        {"del", "tmc.1.0"},
        {"del", "tmc.1.*"},
    };
    QTest::newRow("groups removed by the record setters") << QList<Step>{
        {"deletePlaylist", "2"},
        {"newPlaylist"},
        {"newRDS"},
        {"removeRDS", "1"},
    };
    QTest::newRow("written, reloaded, written again") << QList<Step>{
        {"raw", "rds.5/eon/0", "1 d315 10 1 0 0"},
        {"reload"},
        {"rawRemove", "rds.5/eon/0"},
        {"raw", "channel.11/freq", "90"},
        {"reload"},
        {"set", "channel.11.freq", "91"},
    };
    QTest::newRow("another writer changed the file") << QList<Step>{
        {"set", "channel.1.freq", "90"},
        {"outside", "[rds.20]\nps=OUTSIDE\n"},
        {"sync"},
        {"remove", "rds.20"},
        {"outside", "[rds.21]\nps=AGAIN\n"},
        {"reload"},
    };
    QTest::newRow("odd key forms") << QList<Step>{
        {"raw", "/rds.3//ps/", "THREE"},
        {"raw", "Rds.7/Eon/0", "1 2 3 4 5 6"},
        {"remove", "RDS.7"},
        {"raw", "top", "1"},
        {"rawRemove", "Rds.7/"},
    };
    QTest::newRow("the empty key removes everything") << QList<Step>{
        {"rawRemove", ""},
        {"raw", "rds.1/ps", "AFTER"},
    };
    // clang-format on
}

void TestKeyIndex::listingsFollowTheFile()
{
    QFETCH(QList<Step>, steps);
    fileName = folder.copyFixture(QStringLiteral("listing.fm"));
    store = ProjectFolder::open(fileName);
    for (const Step& step : steps) {
        run(step);
        // What the store holds before it is written out: its QSettings part.
        compareWith(*store);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after ") + step.join(QLatin1Char(' '))));
    }
    compareWithFile();
}

void TestKeyIndex::run(const Step& step)
{
    const QString verb = step.value(0);
    const QString key = step.value(1);
    const QString value = step.value(2);
    if (verb == QLatin1String("set"))
        store->set(key, value);
    else if (verb == QLatin1String("value"))
        store->setValue(key, value);
    else if (verb == QLatin1String("add"))
        QCOMPARE(store->add(key, value), int(FMSettings::NoError));
    else if (verb == QLatin1String("del"))
        QCOMPARE(store->del(key), int(FMSettings::NoError));
    else if (verb == QLatin1String("raw"))
        store->rawStore(key, value);
    else if (verb == QLatin1String("remove"))
        store->remove(key);
    else if (verb == QLatin1String("rawRemove"))
        store->rawRemove(key);
    else if (verb == QLatin1String("deletePlaylist"))
        QVERIFY(store->deletePlaylist(key.toInt()));
    else if (verb == QLatin1String("newPlaylist"))
        store->newPlaylist();
    else if (verb == QLatin1String("newRDS"))
        store->newRDS();
    else if (verb == QLatin1String("removeRDS"))
        QVERIFY(store->removeRDS(key.toInt()));
    else if (verb == QLatin1String("sync"))
        store->sync();
    else if (verb == QLatin1String("reload")) {
        // Gone before the next opens: QSettings objects of one file share
        // what they hold.
        store.reset();
        store = ProjectFolder::open(fileName);
    } else if (verb == QLatin1String("outside")) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray("\n") + key.toUtf8());
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + verb));
    }
}

// The file is read from a copy: every QSettings of one file in a process
// shares what it holds in memory.
void TestKeyIndex::compareWithFile()
{
    store->sync();
    const QString copy = folder.path(QStringLiteral("copy.fm"));
    QFile::remove(copy);
    QVERIFY(QFile::copy(fileName, copy));
    QSettings file(copy, QSettings::IniFormat);
    compareWith(file);
}

void TestKeyIndex::compareWith(QSettings& ini)
{
    QStringList groups{"", "nosuch", "/rds.1//eon/", "RDS.1", "channel.1/freq", "rds.1/eon/0"};
    const QStringList allKeys = ini.allKeys();
    for (const QString& key : allKeys) {
        for (qsizetype slash = key.indexOf(QLatin1Char('/')); slash > 0;
             slash = key.indexOf(QLatin1Char('/'), slash + 1))
            groups.append(key.left(slash));
    }
    groups.removeDuplicates();
    const auto same = [](const QString& what, const QString& group, const QStringList& index,
                         const QStringList& ini) {
        QVERIFY2(index == ini, qPrintable(QStringLiteral("%1 of \"%2\": index [%3], ini [%4]")
                                              .arg(what, group, index.join(QLatin1Char(',')),
                                                   ini.join(QLatin1Char(',')))));
    };
    for (const QString& group : std::as_const(groups)) {
        ini.beginGroup(group);
        same(QStringLiteral("all keys"), group, store->rawAllKeys(group), ini.allKeys());
        same(QStringLiteral("child keys"), group, store->rawChildKeys(group), ini.childKeys());
        same(QStringLiteral("child groups"), group, store->rawChildGroups(group),
             ini.childGroups());
        ini.endGroup();
        if (QTest::currentTestFailed())
            return;
    }

    const QStringList topGroups = ini.childGroups();
    QStringList texts{"", "r", "RDS.1", "rds.1!", "S", QStringLiteral("\u017f"), "p", "x"};
    texts += topGroups;
    for (const QString& text : std::as_const(texts)) {
        QStringList matching;
        for (const QString& group : topGroups)
            if (group.startsWith(text, Qt::CaseInsensitive))
                matching.append(group);
        same(QStringLiteral("groups starting with"), text, store->rawGroupsStartingWith(text),
             matching);
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_GUILESS_MAIN(TestKeyIndex)
#include "tst_keyindex.moc"
