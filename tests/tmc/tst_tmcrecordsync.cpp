// A remote or timeline write of a group 3A field on a store with the TMC
// page open, while a second thread reads the TMC record on every
// notification, as a board thread does for its encoder.
#include "settings/FMSettings.h"
#include "settings/Observer.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"
#include "tmc/page/TabTMC.h"

#include <QApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <utility>

namespace {

// One field of group 3A as a receiver takes it from the variant words.
int fieldOf(const TMCSource& s, const QString& field)
{
    if (field == QLatin1String("ltn"))
        return (s.va0 >> 6) & 63;
    if (field == QLatin1String("sid"))
        return (s.va1 >> 6) & 63;
    if (field == QLatin1String("ltcc"))
        return s.va1 & 15;
    return s.va2 & 255;
}

// Lives in its own thread; on each notification of its TMC source it reads
// the record, as the board thread hands it to the encoder.
class RecordReader : public QObject, public Observer
{
public:
    RecordReader(FMSettings* store, QString field) : store(store), field(std::move(field))
    {
        installEventFilter(new SetHandler(this));
    }

    void notify(SetValue* event) override
    {
        const int seen = fieldOf(store->tmcSource(1), field);
        QMutexLocker locker(&mutex);
        keys.append(event->key);
        readings.append(seen);
    }

    QList<int> takeReadings(QStringList* announced = nullptr)
    {
        QMutexLocker locker(&mutex);
        if (announced)
            *announced = keys;
        keys.clear();
        return std::exchange(readings, {});
    }

private:
    FMSettings* store;
    const QString field;
    QMutex mutex;
    QStringList keys;
    QList<int> readings;
};

} // namespace

class TestTmcRecordSync : public QObject
{
    Q_OBJECT
private slots:
    void boardThreadReadsTheNewFieldAtOnce_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("base");
        QTest::newRow("ltn every value")
            << "ltn"
            << "va0" << QStringList{"2", "3", "4", "5", "6", "7", "8", "9", "10", "11"} << 10;
        QTest::newRow("sid") << "sid"
                             << "va1" << QStringList{"7", "63", "0"} << 10;
        QTest::newRow("ltcc") << "ltcc"
                              << "va1" << QStringList{"3", "f", "1"} << 16;
        QTest::newRow("ltecc") << "ltecc"
                               << "va2" << QStringList{"e1", "a0", "e0"} << 16;
    }
    void boardThreadReadsTheNewFieldAtOnce()
    {
        QFETCH(QString, field);
        QFETCH(QString, word);
        QFETCH(QStringList, values);
        QFETCH(int, base);

        QTemporaryDir dir;
        auto store = QSharedPointer<FMSettings>::create(dir.filePath(QStringLiteral("default.fm")));
        store->newTMC();
        TabTMC page;
        page.setProgram(store);
        page.show();
        QCoreApplication::processEvents();

        QThread board;
        RecordReader reader(store.data(), field);
        reader.moveToThread(&board);
        board.start();
        const auto stopBoard = qScopeGuard([&] {
            board.quit();
            board.wait();
        });
        store->subscribe(QStringLiteral("tmc.1"), &reader);
        // Returns once the reader has taken every notification made so far.
        // The store posts a board thread's notifications when the pass of
        // its own thread ends; the page takes its own there too.
        const auto drain = [&reader] {
            QCoreApplication::sendPostedEvents(nullptr, SetValue::kType);
            QMetaObject::invokeMethod(
                &reader, [] {}, Qt::BlockingQueuedConnection);
        };

        for (const QString& value : values) {
            const int wanted = int(value.toUInt(nullptr, base));
            QCOMPARE(store->set(QStringLiteral("tmc.1.") + field, value), 0);
            // The board thread may take the notification before the page has
            // seen it: the record must already carry the new field.
            drain();
            QStringList announced;
            QList<int> readings = reader.takeReadings(&announced);
            QVERIFY(!readings.isEmpty());
            QVERIFY2(announced.contains(QStringLiteral("tmc.1/") + word),
                     qPrintable(announced.join(u' ')));
            for (int seen : std::as_const(readings))
                QCOMPARE(seen, wanted);

            // Whatever the page writes in answer leaves the field as set.
            for (int round = 0; round < 4; ++round)
                QCoreApplication::processEvents();
            drain();
            readings = reader.takeReadings();
            for (int seen : std::as_const(readings))
                QCOMPARE(seen, wanted);
            QCOMPARE(fieldOf(store->tmcSource(1), field), wanted);
            QCOMPARE(store->value(QStringLiteral("tmc.1/") + field).toString(), value);
        }
        store->unsubscribeAll(&reader);
    }
};

QTEST_MAIN(TestTmcRecordSync)
#include "tst_tmcrecordsync.moc"
