#include "RdsPageKit.h"

#include "rds/HexSpinBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

class TestTabRDS : public QObject
{
    Q_OBJECT

private slots:
    void withoutSourcesOnlyTheCounterIsEnabled();
    void sourcesAreListedInIdOrder();
    void addedSourceBecomesCurrent();
    void deletingMakesTheLastRowCurrent();
    void renamingWritesOnlyTheName();
    void sourceChangesReloadOnlyTheCurrentSource();
    void channelEntryNamesWhereItsRdsComesFrom();
    void channelEntrySaysLogFileOnlyWhenFilesPlay();
    void unusedTmcSourceLeavesTheComboWithoutWrite();
    void showSourcePicksRowAndTab();
    void storedValuesLoad_data();
    void storedValuesLoad();
    void anotherProjectEndsTheOldSubscriptions();
    void closingWithAnOpenEditorIsQuiet();
};

void TestTabRDS::withoutSourcesOnlyTheCounterIsEnabled()
{
    RdsPageKit kit({});
    QCOMPARE(kit.table()->rowCount(), 0);
    for (const char* name : {"gBasic", "group00", "gError", "gRT", "eRT", "AFused", "gLog"})
        QVERIFY2(!kit.find<QWidget>(name)->isEnabled(), name);
    QVERIFY(kit.find<QGroupBox>("gCount")->isEnabled());
}

void TestTabRDS::sourcesAreListedInIdOrder()
{
    RdsPageKit::Keys keys = RdsPageKit::sources({4, 1, 3});
    keys.append({QStringLiteral("rds.2/used"), 0});
    keys.append({QStringLiteral("rds.4/ps"), QStringLiteral("VIER")});
    RdsPageKit kit(keys);
    QCOMPARE(kit.rowIds(), QList<int>({1, 3, 4}));
    QCOMPARE(kit.currentId(), 4);
    QCOMPARE(kit.page->currentSource(), 4);
    QCOMPARE(kit.find<QLineEdit>("PS")->text(), QStringLiteral("VIER"));
    QCOMPARE(kit.table()->item(1, 0)->toolTip(), QStringLiteral("Name der 3. RDS Quelle"));
    QCOMPARE(kit.table()->item(1, 0)->text(), QStringLiteral("Quelle 3"));
    QVERIFY(kit.find<QGroupBox>("gBasic")->isEnabled());
}

void TestTabRDS::addedSourceBecomesCurrent()
{
    RdsPageKit kit(RdsPageKit::sources({1, 2}));
    kit.table()->setCurrentCell(0, 0);
    QTest::mouseClick(kit.find<QPushButton>("Badd"), Qt::LeftButton);
    kit.deliver();
    QCOMPARE(kit.rowIds(), QList<int>({1, 2, 3}));
    QCOMPARE(kit.currentId(), 3);
}

void TestTabRDS::deletingMakesTheLastRowCurrent()
{
    RdsPageKit kit(RdsPageKit::sources({1, 2, 3}));
    kit.table()->setCurrentCell(1, 0);
    QTest::mouseClick(kit.find<QPushButton>("Bdel"), Qt::LeftButton);
    kit.deliver();
    QCOMPARE(kit.rowIds(), QList<int>({1, 3}));
    QCOMPARE(kit.currentId(), 3);
    QCOMPARE(kit.store->rdsSource(2).used, quint8(0));
}

void TestTabRDS::renamingWritesOnlyTheName()
{
    RdsPageKit kit(RdsPageKit::sources({1, 3}));
    kit.page->show();
    QApplication::setActiveWindow(kit.page.get());
    QVERIFY(QTest::qWaitForWindowActive(kit.page.get()));
    QTableWidgetItem* item = kit.table()->item(1, 0);
    kit.table()->editItem(item);
    auto* editor = kit.table()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Welle"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits a finished edit through its event loop.
    QTRY_COMPARE_WITH_TIMEOUT(item->text(), QStringLiteral("Welle"), 30000);
    QCOMPARE(kit.written(), QStringList({QStringLiteral("rds.3/name")}));
    QCOMPARE(kit.store->rdsSource(3).name, QStringLiteral("Welle"));
    QCOMPARE(kit.store->rdsSource(1).name, QStringLiteral("Quelle 1"));
}

void TestTabRDS::sourceChangesReloadOnlyTheCurrentSource()
{
    RdsPageKit kit(RdsPageKit::sources({2, 5}));
    auto* ps = kit.find<QLineEdit>("PS");
    QCOMPARE(kit.currentId(), 5);
    // Typed but not yet finished: only a reload puts the stored text back.
    ps->setText(QStringLiteral("GETIPPT"));
    kit.store->set(QStringLiteral("rds.2.ps"), QStringLiteral("ZWEI"));
    kit.deliver();
    QCOMPARE(ps->text(), QStringLiteral("GETIPPT"));

    kit.page->showSource(2, -1);
    ps->setText(QStringLiteral("GETIPPT"));
    kit.store->set(QStringLiteral("rds.2.ps"), QStringLiteral("ZWEI NEU"));
    kit.deliver();
    QCOMPARE(ps->text(), QStringLiteral("ZWEI NEU"));
}

void TestTabRDS::channelEntryNamesWhereItsRdsComesFrom()
{
    RdsPageKit kit(RdsPageKit::sources({1, 2}));
    auto* stat = kit.find<QComboBox>("stat");
    QCOMPARE(stat->count(), 97);
    QCOMPARE(stat->itemText(0), QStringLiteral("<Kanal wählen>"));

    kit.store->set(QStringLiteral("channel.7.idrds"), QStringLiteral("2"));
    kit.deliver();
    QCOMPARE(stat->itemText(7), QStringLiteral("Kanal 7 (RDS-Quelle 2)"));
    kit.store->publish(QStringLiteral("rdsin.7"), QStringLiteral("127.0.0.1"));
    kit.deliver();
    QCOMPARE(stat->itemText(7), QStringLiteral("Kanal 7 (Fernzugriff)"));
    kit.store->publish(QStringLiteral("rdsin.7"), QString());
    kit.deliver();
    QCOMPARE(stat->itemText(7), QStringLiteral("Kanal 7 (RDS-Quelle 2)"));
    QCOMPARE(stat->itemText(8), QStringLiteral("Kanal 8"));
}

// The engine publishes the text it sends under the channel's "rds" key; the
// entry names log files only when the channel's source plays them.
void TestTabRDS::channelEntrySaysLogFileOnlyWhenFilesPlay()
{
    RdsPageKit kit(RdsPageKit::sources({1}) +
                   RdsPageKit::Keys{{"channel.5/idrds", 1}, {"channel.6/idrds", 1}});
    auto* stat = kit.find<QComboBox>("stat");
    kit.store->publish(QStringLiteral("channel.5.rds"), QStringLiteral("CH05 TST"));
    kit.deliver();
    QCOMPARE(stat->itemText(5), QStringLiteral("Kanal 5 (RDS-Quelle 1)"));

    kit.store->set(QStringLiteral("rds.1.files"), QStringLiteral("/logs/morning.txt"));
    kit.deliver();
    QCOMPARE(stat->itemText(5), QStringLiteral("Kanal 5 (RDS-Quelle 1)"));
    kit.store->set(QStringLiteral("rds.1.fused"), 1);
    kit.deliver();
    QCOMPARE(stat->itemText(5), QStringLiteral("Kanal 5 (aus Log Datei)"));
    QCOMPARE(stat->itemText(6), QStringLiteral("Kanal 6 (aus Log Datei)"));
    QCOMPARE(stat->itemText(7), QStringLiteral("Kanal 7"));

    kit.store->set(QStringLiteral("rds.1.fused"), 0);
    kit.deliver();
    QCOMPARE(stat->itemText(5), QStringLiteral("Kanal 5 (RDS-Quelle 1)"));
    QCOMPARE(stat->itemText(6), QStringLiteral("Kanal 6 (RDS-Quelle 1)"));
}

void TestTabRDS::unusedTmcSourceLeavesTheComboWithoutWrite()
{
    RdsPageKit::Keys keys = RdsPageKit::sources({1});
    keys.append({QStringLiteral("rds.1/tmcsi"), 2});
    for (int tmc : {1, 2}) {
        keys.append({QStringLiteral("tmc.%1/used").arg(tmc), 1});
        keys.append({QStringLiteral("tmc.%1/name").arg(tmc), QStringLiteral("TMC %1").arg(tmc)});
    }
    RdsPageKit kit(keys);
    auto* combo = kit.find<QComboBox>("tmcSI");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QStringLiteral("TMC 2"));

    kit.store->set(QStringLiteral("tmc.2.used"), QStringLiteral("0"));
    kit.deliver();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->findData(2), -1);
    QCOMPARE(kit.written(), QStringList());
    QCOMPARE(kit.store->rdsSource(1).tmcsi, 2u);
}

void TestTabRDS::showSourcePicksRowAndTab()
{
    RdsPageKit kit(RdsPageKit::sources({1, 2}));
    auto* tabs = kit.find<QTabWidget>("tabs");
    for (int tab = 0; tab < tabs->count(); ++tab)
        QVERIFY(tabs->tabText(tab) != QStringLiteral("RDS2 && ODA"));
    QCOMPARE(tabs->count(), 5);

    kit.page->showSource(9, 3);
    QCOMPARE(kit.currentId(), 2);
    QCOMPARE(tabs->currentIndex(), 0);

    kit.page->showSource(1, 3);
    QCOMPARE(kit.currentId(), 1);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Log Dateien"));

    kit.page->showSource(2, -1);
    QCOMPARE(kit.currentId(), 2);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Log Dateien"));
}

void TestTabRDS::storedValuesLoad_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("shown");

    QTest::newRow("PI keeps its leading zeros") << "pi" << QVariant("ab") << "PI"
                                                << "00AB";
    QTest::newRow("ECC without the linkage bit") << "slow" << QVariant(0x80E0) << "C_ECC"
                                                 << "E0";
    QTest::newRow("day 0 is today") << "days" << QVariant(0) << "date"
                                    << "heute";
    QTest::newRow("day 1 is 2 March 1900") << "days" << QVariant(1) << "date"
                                           << "1900-03-02";
    QTest::newRow("programme type by code") << "pty" << QVariant(31) << "PTY"
                                            << "31 Alarm";
    QTest::newRow("TMC source unknown to the combo") << "tmcsi" << QVariant(7) << "tmcSI"
                                                     << "";
    QTest::newRow("unknown RadioText coding shows the RDS table")
        << "crt" << QVariant("no-such-coding") << "RTcode"
        << "E.1 (Standard)";
    QTest::newRow("RadioText codec without an entry shows its name")
        << "crt" << QVariant("KOI8-R") << "RTcode"
        << "KOI8-R";
    QTest::newRow("RadioText codec in lower case shows its entry")
        << "crt" << QVariant("utf-8") << "RTcode"
        << "UTF-8";
    QTest::newRow("eRT codec in lower case shows its entry")
        << "enc" << QVariant("utf-16le") << "eRTcode"
        << "UTF-16LE";
    QTest::newRow("eRT bits with leading zeros") << "ertb" << QVariant(3) << "eRTbits"
                                                 << "0003";
    QTest::newRow("RT+ group") << "rtgrp" << QVariant(11) << "pRTgroup"
                               << "11A";
    QTest::newRow("RT+ group of version B has no entry") << "rtgrp" << QVariant(16) << "pRTgroup"
                                                         << "";
}

void TestTabRDS::storedValuesLoad()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QString, widget);
    QFETCH(QString, shown);

    RdsPageKit::Keys keys = RdsPageKit::sources({1});
    keys.append({QStringLiteral("rds.1/") + key, stored});
    RdsPageKit kit(keys);
    QWidget* found = kit.find<QWidget>(widget.toLatin1().constData());
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(found))
        text = edit->text();
    else if (auto* combo = qobject_cast<QComboBox*>(found))
        text = combo->currentText();
    else if (auto* date = qobject_cast<QDateEdit*>(found);
             date && date->date() != date->minimumDate())
        text = date->date().toString(Qt::ISODate);
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(found))
        text = spin->text();
    QCOMPARE(text, shown);
}

void TestTabRDS::anotherProjectEndsTheOldSubscriptions()
{
    RdsPageKit kit(RdsPageKit::sources({1}));
    QSharedPointer<FMSettings> second =
        kit.openProject(QStringLiteral("second.fm"), RdsPageKit::sources({5, 6}));
    const QSharedPointer<FMSettings> first = kit.store;
    kit.page->setProgram(second);
    kit.deliver();
    QVERIFY(!first->unsubscribeAll(kit.page.get()));
    QCOMPARE(kit.rowIds(), QList<int>({5, 6}));
    kit.page->setProgram(first);
    kit.deliver();
    QCOMPARE(kit.rowIds(), QList<int>({1}));
}

void TestTabRDS::closingWithAnOpenEditorIsQuiet()
{
    RdsPageKit kit(RdsPageKit::sources({1, 2}));
    kit.page->show();
    QApplication::setActiveWindow(kit.page.get());
    QVERIFY(QTest::qWaitForWindowActive(kit.page.get()));
    kit.table()->editItem(kit.table()->item(0, 0));
    auto* editor = kit.table()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("halb"));
    // The dying editor and fields signal while the page is half gone.
    kit.page.reset();
    QCOMPARE(kit.store->rdsSource(1).name, QStringLiteral("Quelle 1"));
}

QTEST_MAIN(TestTabRDS)
#include "tst_tabrds.moc"
