// The event player in the program window: its form, the one pressed player
// button, and the timeline on the window's working copy.
#include "WindowKit.h"

#include "dynamic/timeline/DynModel.h"
#include "dynamic/timeline/Dynamic.h"

#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>

class TestEventPlayer : public QObject
{
    Q_OBJECT

private slots:
    void formHasIconsAndTips_data();
    void formHasIconsAndTips();
    void onePlayerButtonIsPressed();
    void recordedEventsReachTheWorkingCopy();
};

void TestEventPlayer::formHasIconsAndTips_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tip");
    QTest::newRow("play") << "Bplay"
                          << "Abspielen";
    QTest::newRow("pause") << "Bpause"
                           << "Pause";
    QTest::newRow("record now") << "Brecnow"
                                << "Aufzeichnen ohne abspielen\nalle Events mit identischem "
                                   "Zeitstempel";
    QTest::newRow("record") << "Brecord"
                            << "Abspielen und neue Events aufzeichnen";
    QTest::newRow("repeat") << "Brepeat"
                            << "Zyklisch abspielen";
    QTest::newRow("revert") << "Brevert"
                            << "Rücksetzen\nProjekt neu laden";
    QTest::newRow("clear") << "Bclear"
                           << "alle Events löschen";
    QTest::newRow("list") << "Blist"
                          << "Kommando Liste anzeigen";
}

void TestEventPlayer::formHasIconsAndTips()
{
    QFETCH(QString, button);
    WindowKit kit;
    kit.open();
    auto* found = kit.find<QPushButton>(button);
    QVERIFY(found);
    QTEST(found->toolTip(), "tip");
    QVERIFY(!found->icon().isNull());
    QVERIFY(!found->icon().pixmap(24, 24).isNull());
    QVERIFY(!kit.find<QPushButton>(QStringLiteral("Bconfig")));
}

void TestEventPlayer::onePlayerButtonIsPressed()
{
    WindowKit kit;
    kit.open();
    auto* timeline = kit.find<Dynamic>(QStringLiteral("timeline"));
    QVERIFY(timeline);
    const QStringList names{QStringLiteral("Bplay"), QStringLiteral("Bpause"),
                            QStringLiteral("Brecnow"), QStringLiteral("Brecord")};
    auto pressed = [&] {
        QStringList down;
        for (const QString& name : names) {
            if (kit.find<QPushButton>(name)->isChecked())
                down.append(name);
        }
        return down;
    };
    QCOMPARE(pressed(), QStringList{QStringLiteral("Bpause")});
    QTest::mouseClick(kit.find<QPushButton>(QStringLiteral("Brecnow")), Qt::LeftButton);
    QCOMPARE(pressed(), QStringList{QStringLiteral("Brecnow")});
    QVERIFY(timeline->recording());
    QTest::mouseClick(kit.find<QPushButton>(QStringLiteral("Bpause")), Qt::LeftButton);
    QCOMPARE(pressed(), QStringList{QStringLiteral("Bpause")});
    QVERIFY(!timeline->recording());
    // An empty roll at its end: play gives way to pause at once.
    kit.find<QSpinBox>(QStringLiteral("pos"))->setValue(1000);
    QCOMPARE(timeline->cursor(), 1000u);
    QTest::mouseClick(kit.find<QPushButton>(QStringLiteral("Bplay")), Qt::LeftButton);
    QCOMPARE(pressed(), QStringList{QStringLiteral("Bpause")});
    QVERIFY(!timeline->playing());
}

void TestEventPlayer::recordedEventsReachTheWorkingCopy()
{
    WindowKit kit;
    kit.open();
    auto* timeline = kit.find<Dynamic>(QStringLiteral("timeline"));
    QSharedPointer<FMSettings> store = timeline->settings();
    QVERIFY(store);
    QTest::mouseClick(kit.find<QPushButton>(QStringLiteral("Brecnow")), Qt::LeftButton);
    QCOMPARE(store->set(QStringLiteral("rds.1.ps"), QStringLiteral("WINDOW")), 0);
    QTRY_COMPARE_WITH_TIMEOUT(timeline->model()->rowCount(), 1, WindowKit::kWaitMs);
    QCOMPARE(store->rawValue(QStringLiteral("events.1/0")).toString(),
             QStringLiteral("0 rds.1.ps WINDOW"));
    // The list switch opens the event list beside the timeline.
    auto* list = kit.find<QPushButton>(QStringLiteral("Blist"));
    QTest::mouseClick(list, Qt::LeftButton);
    auto* splitter = timeline->parentWidget()->parentWidget()->parentWidget();
    auto* split = qobject_cast<QSplitter*>(splitter);
    QVERIFY(split);
    QVERIFY(split->sizes().at(1) >= 11);
}

QTEST_MAIN(TestEventPlayer)
#include "tst_eventplayer.moc"
