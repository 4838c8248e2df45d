// TMC sources: the message line codec, new/remove, system information with
// its derived keys, the service key table and the message list, checked in
// the record, in the file and after a reload.
#include "KeyRecorder.h"
#include "ProjectFileKit.h"

#include <QTest>

class TestTmcSource : public QObject
{
    Q_OBJECT

private slots:
    void messageLine_data();
    void messageLine();
    void unknownSourceGivesTheDefaultRecord();
    void newReenablesTheLowestUnusedSource();
    void systemInformationWritesDerivedKeys_data();
    void systemInformationWritesDerivedKeys();
    void serviceKeyWordIndexIsChecked();
    void messageBeyondTheCountIsStoredAtItsPosition();
    void appendedMessageDoesNotRevealAStaleLine();
    void removeMessagesTruncatesTheList();
    void unknownSourceTakesNoMessage();
};

void TestTmcSource::messageLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TMCMessage>("message");
    QTest::addColumn<QString>("written");

    QTest::newRow("five numbers") << "1 0 1500 12345 1" << TMCMessage{1, 0, 1500, 12345, 1, {}}
                                  << "1 0 1500 12345 1";
    QTest::newRow("two numbers") << "1 0" << TMCMessage{1, 0, 0, 0, 0, {}} << "1 0 0 0 0";
    QTest::newRow("labels") << "2 3 20 30 2 7 4294967295"
                            << TMCMessage{2, 3, 20, 30, 2, {7, 4294967295u}}
                            << "2 3 20 30 2 7 4294967295";
    QTest::newRow("extra blanks") << "  1  2 3 4 5 " << TMCMessage{1, 2, 3, 4, 5, {}}
                                  << "1 2 3 4 5";
    QTest::newRow("not numbers read 0")
        << "x 1 -5 y 1 z" << TMCMessage{0, 1, 0, 0, 1, {0}} << "0 1 0 0 1 0";
    QTest::newRow("wider than 32 bits reads 0")
        << "1 0 4294967296 1 1" << TMCMessage{1, 0, 0, 1, 1, {}} << "1 0 0 1 1";
    QTest::newRow("cut to the field width")
        << "257 1 65537 2 3" << TMCMessage{1, 1, 1, 2, 3, {}} << "1 1 1 2 3";
    QTest::newRow("empty") << "" << TMCMessage() << "0 0 0 0 0";
}

void TestTmcSource::messageLine()
{
    QFETCH(QString, text);
    QFETCH(TMCMessage, message);
    QFETCH(QString, written);
    QCOMPARE(tmcMessageFromText(text), message);
    QCOMPARE(tmcMessageToText(message), written);
}

void TestTmcSource::unknownSourceGivesTheDefaultRecord()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    const TMCSource tmc = store->tmcSource(7);
    QCOMPARE(tmc.used, quint8(0));
    QCOMPARE(tmc.flag, quint8(9));
    QCOMPARE(tmc.rate, quint8(15));
    QCOMPARE(tmc.aid, quint16(0xCD46));
    QCOMPARE(tmc.rpt, quint8(3));
    QCOMPARE(tmc.enc, quint8(31));
    QCOMPARE(tmc.va0, quint16(0x0047));
    QCOMPARE(tmc.va1, quint16(0x400D));
    QCOMPARE(tmc.va2, quint16(0x80E0));
    QCOMPARE(tmc.va3, quint16(0xC000));
}

void TestTmcSource::newReenablesTheLowestUnusedSource()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QTest::ignoreMessage(QtDebugMsg, "FMS: new TMC source [TMC-1]");
    QCOMPARE(store->newTMC(), 0);
    QCOMPARE(store->newTMC(), 1);
    QCOMPARE(store->newTMC(), 2);
    QCOMPARE(store->tmcSource(2).name, QStringLiteral("TMC-2"));
    QCOMPARE(store->tmcSource(2).spn, QStringLiteral("SPN-2"));
    QCOMPARE(store->tmcSource(2).used, quint8(1));

    QVERIFY(store->removeTMC(2));
    QVERIFY(!store->removeTMC(9));
    QCOMPARE(store->tmcSourceNames().keys(), QList<int>({1, 3}));
    QCOMPARE(store->rawValue("tmc.2/used").toInt(), 0);

    QCOMPARE(store->newTMC(), 1); // source 2, second row
    QCOMPARE(store->tmcSources().size(), 3);
    QCOMPARE(store->tmcSource(2).used, quint8(1));
}

void TestTmcSource::systemInformationWritesDerivedKeys_data()
{
    QTest::addColumn<quint16>("va0");
    QTest::addColumn<quint16>("va1");
    QTest::addColumn<quint16>("va2");
    QTest::addColumn<QVariant>("ltn");
    QTest::addColumn<QVariant>("sid");
    QTest::addColumn<QVariant>("ltcc");
    QTest::addColumn<QVariant>("ltecc");

    QTest::newRow("default variant words")
        << quint16(0x0047) << quint16(0x400D) << quint16(0x80E0) << QVariant(1) << QVariant(0)
        << QVariant("d") << QVariant("e0");
    QTest::newRow("small extended code zero-filled")
        << quint16(0x0FC0) << quint16(0x4FC3) << quint16(0x8005) << QVariant(63) << QVariant(63)
        << QVariant("3") << QVariant("05");
    QTest::newRow("va0 bit 16 writes no ltcc")
        << quint16(0x0057) << quint16(0x400D) << quint16(0x80E0) << QVariant(1) << QVariant(0)
        << QVariant() << QVariant("e0");
}

void TestTmcSource::systemInformationWritesDerivedKeys()
{
    QFETCH(quint16, va0);
    QFETCH(quint16, va1);
    QFETCH(quint16, va2);
    QFETCH(QVariant, ltn);
    QFETCH(QVariant, sid);
    QFETCH(QVariant, ltcc);
    QFETCH(QVariant, ltecc);

    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    TMCSource source;
    source.va0 = va0;
    source.va1 = va1;
    source.va2 = va2;
    source.rate = 20;
    source.skt[0] = 0x1234;           // not taken by setTMCFile
    source.messages = {TMCMessage()}; // nor are these
    QVERIFY(store->setTMCFile(1, source));

    QCOMPARE(store->rawValue("tmc.1/ltn").toString(), ltn.toString());
    QCOMPARE(store->rawValue("tmc.1/sid").toString(), sid.toString());
    QCOMPARE(store->rawValue("tmc.1/ltcc").toString(), ltcc.toString());
    QCOMPARE(store->rawContains("tmc.1/ltcc"), ltcc.isValid());
    QCOMPARE(store->rawValue("tmc.1/ltecc").toString(), ltecc.toString());
    const TMCSource stored = store->tmcSource(1);
    QCOMPARE(stored.va0, va0);
    QCOMPARE(stored.rate, quint8(20));
    QCOMPARE(stored.skt[0], quint16(0));
    QVERIFY(stored.messages.isEmpty());
    QCOMPARE(store->loadTMC(1).va1, va1);
}

void TestTmcSource::serviceKeyWordIndexIsChecked()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QVERIFY(!store->setTMCWord(1, 32, 0xFFFF));
    QVERIFY(!store->setTMCWord(0, 0, 0xFFFF));
    QVERIFY(!store->isDirty());
    QVERIFY(store->setTMCWord(1, 1, 0xABCD));
    QVERIFY(store->setTMCWord(1, 31, 0x7));
    const QString text = store->rawValue("tmc.1/skt").toString();
    QCOMPARE(text.split(QLatin1Char(' ')).size(), 32);
    QVERIFY(text.startsWith(QLatin1String("0 abcd 0 ")));
    QVERIFY(text.endsWith(QLatin1String(" 0 7")));
    QCOMPARE(store->loadTMC(1).skt, store->tmcSource(1).skt);
}

void TestTmcSource::messageBeyondTheCountIsStoredAtItsPosition()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    store->newTMC();
    const TMCMessage first = tmcMessageFromText(QStringLiteral("1 0 10 20 1"));
    const TMCMessage second = tmcMessageFromText(QStringLiteral("1 0 11 21 1 5"));
    const TMCMessage third = tmcMessageFromText(QStringLiteral("1 0 12 22 2"));
    store->setTMCMessage(1, 0, first);
    store->setTMCMessage(1, 7, second);
    store->setTMCMessage(1, 2, third);

    QCOMPARE(store->tmcSource(1).messages, (QList<TMCMessage>{first, second, third}));
    QVERIFY(store->rawContains("tmc.1/1"));
    QVERIFY(!store->rawContains("tmc.1/7"));
    QCOMPARE(store->loadTMC(1).messages, (QList<TMCMessage>{first, second, third}));

    store->setTMCMessage(1, 1, first); // replaces in place
    QCOMPARE(store->tmcSource(1).messages.size(), 3);
    QCOMPARE(store->rawValue("tmc.1/1").toString(), tmcMessageToText(first));
}

void TestTmcSource::appendedMessageDoesNotRevealAStaleLine()
{
    // The line under 3 is beyond the gap and not read; appending the third
    // message must not bring it back as a fourth.
    ProjectFolder folder;
    auto store =
        ProjectFolder::open(folder.write("[tmc.1]\n0=1 0 1 1 1\n1=1 0 2 2 1\n3=1 0 9 9 1\n"));
    store->setTMCMessage(1, 5, tmcMessageFromText(QStringLiteral("1 0 3 3 1")));
    QCOMPARE(store->loadTMC(1).messages.size(), 3);
    QVERIFY(!store->rawContains("tmc.1/3"));
}

void TestTmcSource::removeMessagesTruncatesTheList()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write(
        "[tmc.1]\nname=T\n0=1 0 1 1 1\n1=1 0 2 2 1\n2=1 0 3 3 1\n3=1 0 4 4 1\n4=1 0 5 5 1\n"));
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("tmc"), &recorder);
    store->removeTMCMessage(1, 2);
    recorder.collect();

    QCOMPARE(store->tmcSource(1).messages.size(), 2);
    for (int m : {2, 3, 4})
        QVERIFY(!store->rawContains(QStringLiteral("tmc.1/%1").arg(m)));
    QCOMPARE(recorder.keys(), QStringList{"tmc.1"});
    QVERIFY(store->isDirty());
    QCOMPARE(store->loadTMC(1).messages.size(), 2);
}

void TestTmcSource::unknownSourceTakesNoMessage()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    store->setTMCMessage(3, 0, TMCMessage());
    store->removeTMCMessage(3, 0);
    QVERIFY(store->tmcSources().isEmpty());
    QVERIFY(!store->rawContains("tmc.3/0"));
}

QTEST_GUILESS_MAIN(TestTmcSource)
#include "tst_tmcsource.moc"
