// Writes of the store's file on a disk that cannot take them: the ini
// writer of the toolkit reports success for a file a full disk cut short,
// so the store checks what is on disk, keeps the previous file, reports
// the failure and writes the changes again once the disk takes them. The
// full disk is stood in for by cutting the file short right after a write.
#include "ProjectFileKit.h"

#include "settings/CheckedIni.h"

#include <QSignalSpy>
#include <QThread>

#include <algorithm>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWorkingCopyWrites : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FMSettings::defineKeys(); }
    void cleanup() { Settings::setAfterWriteHook({}); }
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void batchedWriteReportsItsFailure();
    void batchedWriteReportsInTheStoresThread();
    void completeWriteLeavesNothingBehind();
    void applicationIniKeepsItsFile();
    void applicationIniAtItsEnd();
};

void TestWorkingCopyWrites::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<int>("keptBytes"); // of the new file; -1: half of it

    QTest::newRow("nothing written") << 0;
    QTest::newRow("one page of a longer file") << 4096;
    QTest::newRow("cut in the middle of a line") << -1;
    QTest::newRow("all but the last line end") << -2;
}

void TestWorkingCopyWrites::failedWriteKeepsTheOldFile()
{
    QFETCH(int, keptBytes);

    ProjectFolder folder;
    const QString file = folder.path();
    auto store = ProjectFolder::open(file);
    for (int n = 1; n <= 96; ++n)
        store->setValue(QStringLiteral("rds.%1.rta").arg(n), QString(60, QLatin1Char('a')));
    QVERIFY(store->writeNow());
    QVERIFY(store->writeError().isEmpty());
    const QByteArray before = bytesOf(file);
    QVERIFY(before.contains("rta="));

    QSignalSpy written(store.get(), &FMSettings::written);
    Settings::setAfterWriteHook([keptBytes](const QString& name) {
        const qint64 size = QFileInfo(name).size();
        QFile::resize(name, keptBytes == -1 ? size / 2 : keptBytes == -2 ? size - 1 : keptBytes);
    });
    QVERIFY(store->setValue(QStringLiteral("channel.1.freq"), 99.9));
    QVERIFY(!store->writeNow());
    QVERIFY(!store->writeError().isEmpty());
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.at(0).at(0).toBool(), false);
    // The previous file is back in place, whole.
    QCOMPARE(bytesOf(file), before);
    QVERIFY(!QFile::exists(file + QStringLiteral(".keep")));
    // Asking again tells the same: the change is still not on disk.
    QVERIFY(!store->writeNow());

    // Once the disk takes it, the change is written with everything else.
    Settings::setAfterWriteHook({});
    QVERIFY(store->writeNow());
    QVERIFY(store->writeError().isEmpty());
    QCOMPARE(written.constLast().at(0).toBool(), true);
    const QByteArray after = bytesOf(file);
    QVERIFY(after.contains("freq=99.9"));
    QCOMPARE(after.count("rta="), 96);
    QCOMPARE(store->value(QStringLiteral("channel.1.freq")).toDouble(), 99.9);
}

// Changes go to disk a moment after they are made, in one write; that
// write is checked as well.
void TestWorkingCopyWrites::batchedWriteReportsItsFailure()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QSignalSpy written(store.get(), &FMSettings::written);
    Settings::setAfterWriteHook([](const QString& name) { QFile::resize(name, 0); });
    QVERIFY(store->setValue(QStringLiteral("channel.2.devi"), 50));
    QTRY_VERIFY_WITH_TIMEOUT(!written.isEmpty(), 30000);
    QCOMPARE(written.constFirst().at(0).toBool(), false);
    QVERIFY(store->isDirty());
    QVERIFY(bytesOf(folder.path()).contains("rand="));
}

// The batched write runs in a thread of its own; what it reports reaches
// the store's listeners in the store's thread, and the file holds every
// change made meanwhile once the reports stop.
void TestWorkingCopyWrites::batchedWriteReportsInTheStoresThread()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QList<QThread*> reportedIn;
    QObject::connect(
        store.get(), &FMSettings::written, store.get(),
        [&reportedIn] { reportedIn.append(QThread::currentThread()); }, Qt::DirectConnection);
    for (int n = 1; n <= 96; ++n)
        QVERIFY(store->setValue(QStringLiteral("rds.%1.ps").arg(n), QStringLiteral("PS%1").arg(n)));
    QTRY_VERIFY_WITH_TIMEOUT(!reportedIn.isEmpty(), 30000);
    QVERIFY(std::all_of(reportedIn.cbegin(), reportedIn.cend(),
                        [](QThread* thread) { return thread == QThread::currentThread(); }));
    QTRY_VERIFY_WITH_TIMEOUT(bytesOf(folder.path()).count("ps=PS") == 96, 30000);
    QVERIFY(store->writeError().isEmpty());
}

void TestWorkingCopyWrites::completeWriteLeavesNothingBehind()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QSignalSpy written(store.get(), &FMSettings::written);
    QVERIFY(store->setValue(QStringLiteral("rds.1.ps"), QStringLiteral("ONE")));
    QVERIFY(store->writeNow());
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.constFirst().at(0).toBool(), true);
    // Nothing was pending: no write, no report, still complete.
    QVERIFY(store->writeNow());
    QCOMPARE(written.size(), 1);
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral(".keep")));
}

// The application ini (boards, ports, language, recent projects) is
// written the same way.
void TestWorkingCopyWrites::applicationIniKeepsItsFile()
{
    ProjectFolder folder;
    const QString file = folder.path(QStringLiteral("q.ini"));
    CheckedIni ini(file);
    QStringList failures;
    ini.setFailureHandler([&failures](const QString& reason) { failures.append(reason); });
    ini.setValue(QStringLiteral("Board/0"), QStringLiteral("0 192.168.1.20 4000"));
    ini.setValue(QStringLiteral("Remote/portControl"), 1248);
    QVERIFY(ini.writeNow());
    const QByteArray before = bytesOf(file);

    Settings::setAfterWriteHook([](const QString& name) { QFile::resize(name, 0); });
    ini.setValue(QStringLiteral("Board/lang"), QStringLiteral("en"));
    // Written a moment after the change, and checked.
    QTRY_VERIFY_WITH_TIMEOUT(!failures.isEmpty(), 30000);
    QCOMPARE(failures, QStringList{QStringLiteral("incomplete on disk")});
    QCOMPARE(bytesOf(file), before);
    QVERIFY(!ini.writeNow());
    QCOMPARE(bytesOf(file), before);

    Settings::setAfterWriteHook({});
    QVERIFY(ini.writeNow());
    QVERIFY(ini.writeError().isEmpty());
    const QByteArray after = bytesOf(file);
    QVERIFY(after.contains("lang=en"));
    QVERIFY(after.contains("portControl=1248"));
    QVERIFY(after.contains("0=0 192.168.1.20 4000"));
}

// The write at the end is checked too: the previous file stays when the
// disk does not take it, rather than an empty one.
void TestWorkingCopyWrites::applicationIniAtItsEnd()
{
    ProjectFolder folder;
    const QString file = folder.path(QStringLiteral("q.ini"));
    {
        CheckedIni ini(file);
        ini.setValue(QStringLiteral("Remote/portControl"), 1248);
    }
    const QByteArray before = bytesOf(file);
    QVERIFY(before.contains("portControl=1248"));
    Settings::setAfterWriteHook([](const QString& name) { QFile::resize(name, 0); });
    {
        CheckedIni ini(file);
        ini.setValue(QStringLiteral("Board/lang"), QStringLiteral("de"));
    }
    Settings::setAfterWriteHook({});
    QCOMPARE(bytesOf(file), before);
}

QTEST_GUILESS_MAIN(TestWorkingCopyWrites)
#include "tst_workingcopywrites.moc"
