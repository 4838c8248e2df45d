// The TMC reference lists: loaders, cancellation codes and describing texts.
// The files in data/lists are small hand-written extracts in the layout of
// the ISO 14819 event and location lists.
#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"

#include <QTest>

namespace {
const QString kLists = QStringLiteral(TEST_DATA_DIR "/lists");
}

class TestTmcLists : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TMCEvents::clear();
        TMCPlaces::clear();
        TMCEvents::loadLists(kLists);
    }

    void eventRecords()
    {
        const TMCEventRecord jam = TMCEvents::eventRecord(101);
        QCOMPARE(jam.code, quint16(101));
        QCOMPARE(jam.german, QByteArray("Stau"));
        QCOMPARE(jam.durationType, quint8('D'));
        QCOMPARE(jam.quantifier, quint8(0));
        QCOMPARE(TMCEvents::eventRecord(401).german, QString::fromUtf8("Stau aufgelöst").toUtf8());
        QCOMPARE(TMCEvents::eventRecord(102).durationType, quint8('l'));
        QCOMPARE(TMCEvents::eventRecord(102).quantifier, quint8(255));
        // the last line has no line end and is read too
        QCOMPARE(TMCEvents::eventRecord(105).nature, quint8('F')); // forecast replaced it
        QCOMPARE(TMCEvents::eventRecord(104).code, quint16(0));    // short line
        QCOMPARE(TMCEvents::eventRecord(0).quantifier, quint8(255));
    }

    void cancellationCodes_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("cancel");
        QTest::newRow("the silent event loaded last") << 101 << 402;
        QTest::newRow("class without silent event") << 103 << 128;
        QTest::newRow("unknown code") << 999 << 128;
    }
    void cancellationCodes()
    {
        QFETCH(int, event);
        QFETCH(int, cancel);
        QCOMPARE(int(TMCEvents::eventInfo(quint16(event))), cancel);
    }

    void nothingLoadedAnswers128()
    {
        TMCEvents::clear();
        TMCEvents::loadLists(QStringLiteral(TEST_DATA_DIR "/missing"));
        QCOMPARE(int(TMCEvents::eventInfo(101)), 128);
        QCOMPARE(TMCEvents::eventText(101), QString("Code nicht gefunden"));
    }

    void eventText()
    {
        const QString text = TMCEvents::eventText(102);
        QVERIFY(text.startsWith("Schlange\nqueue\nZeile: 4 / C: 1"));
        QVERIFY(text.contains("\nReferenz: see 101"));
        QVERIFY(text.contains(QString::fromUtf8("\nT: länger anhaltend")));
        QVERIFY(text.contains("\nD: beide Richtungen"));
        QVERIFY(text.contains("\nU: Wichtig!"));
        QVERIFY(text.endsWith("\nAufheben: 402"));
        QVERIFY(TMCEvents::eventText(103).endsWith("\nAufheben: 0"));
    }

    void durations_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("dynamic information")
            << 101 << 1 << QString::fromUtf8("für min. 15 Minuten");
        QTest::newRow("bracketed longer lasting")
            << 102 << 7 << QString::fromUtf8("für lange Zeit");
        QTest::newRow("longer lasting, end of the month")
            << 102 << 6 << QString::fromUtf8("bis zum Monatsende");
        QTest::newRow("forecast") << 105 << 3 << QString::fromUtf8("innerhalb einer Stunde");
        QTest::newRow("value 0") << 101 << 8 << QString("Unbekannt");
        QTest::newRow("unknown event") << 999 << 1 << QString();
    }
    void durations()
    {
        QFETCH(int, event);
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(TMCEvents::durationText(quint16(event), value), text);
    }

    void quantifiers_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("type 0, small") << 101 << 5 << "5";
        QTest::newRow("type 0, zero") << 101 << 0 << "36";
        QTest::newRow("type 5, zero") << 105 << 0 << "72 hours";
        QTest::newRow("type 5, ten") << 105 << 10 << "50 min";
        QTest::newRow("type 5, eleven") << 105 << 11 << "1 hours";
        QTest::newRow("type 8") << 103 << 101 << "10.5 t";
        QTest::newRow("no quantifier") << 102 << 1 << "";
    }
    void quantifiers()
    {
        QFETCH(int, event);
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(TMCEvents::quantifierText(quint16(event), value), text);
    }

    void supplementaryInformation()
    {
        QCOMPARE(TMCEvents::suppInfoText(12, true), QString("starker Verkehr"));
        QCOMPARE(TMCEvents::suppInfoText(12, false), QString("heavy traffic"));
        QCOMPARE(TMCEvents::suppInfoText(13, true), QString());
    }

    void locations()
    {
        const QString file = TMCPlaces::locationFile(kLists);
        QVERIFY(file.endsWith("LCL1.csv"));
        const QByteArrayList header = TMCPlaces::loadLocations(file);
        QCOMPARE(header.value(0), QByteArray("locationcode"));
        QCOMPARE(
            TMCPlaces::placeText(12345),
            QString("7 Berlin\nA Autobahn 1 2\nLoc: 12345\nRef: Hamburg A1\n\nmore text here"));
        QCOMPARE(TMCPlaces::placeText(7), QString("Kiel\nA 1 2\nLoc: 7\nRef:  \n\n"));
        QCOMPARE(TMCPlaces::placeText(9), QString("\n")); // the last line without a line end
        QCOMPARE(TMCPlaces::placeText(42), QString("Code nicht gefunden"));
        QCOMPARE(TMCPlaces::placeText(64513), QString("Interroad CC=0 LTN=1"));
    }
};

QTEST_GUILESS_MAIN(TestTmcLists)
#include "tst_tmclists.moc"
