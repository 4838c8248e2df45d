#include "connect/FMUnlock.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr quint32 kLocalHost = 0x7f000001; // 127.0.0.1

const QString kHead = QStringLiteral("Der Modulator #007 ist bereits verbunden mit:\n\n");
const QString kWarning =
    QStringLiteral("Wenn die Verbindung gekapert wird, wird die andere getrennt.\n"
                   "Evtl. dort laufende Messungen werden abgebrochen!");

// Byte 0 is the holder's random byte; the name fills the rest with NULs.
QByteArray identity(const QByteArray& name)
{
    QByteArray bytes = '\x2a' + name;
    bytes.append(BoardLock::kIdentitySize - bytes.size(), '\0');
    return bytes;
}

BoardLock lock(const QByteArray& name, const QList<BoardLock::Client>& clients = {})
{
    BoardLock record;
    record.holderIpv4 = kLocalHost;
    record.holderPort = 21520;
    record.holderIdentity = identity(name);
    record.clients = clients;
    return record;
}

BoardLock::Client client(quint8 host, quint16 port, quint16 age)
{
    return {kLocalHost + host - 1, port, age};
}

} // namespace

class TestFMUnlock : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void answers_data();
    void answers();
    void centredOverTile();
};

void TestFMUnlock::text_data()
{
    QTest::addColumn<BoardLock>("record");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("expected");

    const QString holder = QStringLiteral("127.0.0.1 : 21520  ops@desk\n\n");
    QTest::newRow("no recent host") << lock("ops@desk") << 7 << kHead + holder + kWarning;
    QTest::newRow("empty slots are skipped")
        << lock("ops@desk", {{0, 21521, 5}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}) << 7
        << kHead + holder + kWarning;
    QTest::newRow("ages 5, 129 and 130")
        << lock("ops@desk",
                {client(5, 21521, 5), {0, 0, 0}, client(6, 21522, 129), client(7, 21523, 130)})
        << 7
        << kHead + holder +
               "zuletzt:\n"
               "127.0.0.5 : 21521 vor 0 Sekunden\n"
               "127.0.0.6 : 21522 vor 12 Sekunden\n"
               "127.0.0.7 : 21523 vor einer Weile\n\n" +
               kWarning;
    QTest::newRow("a name of 15 bytes shows whole")
        << lock("abcdefghijklmno") << 7
        << kHead + "127.0.0.1 : 21520  abcdefghijklmno\n\n" + kWarning;
    QTest::newRow("white space before a name is trimmed")
        << lock("  pc1") << 7 << kHead + "127.0.0.1 : 21520  pc1\n\n" + kWarning;
    QTest::newRow("a name in UTF-8")
        << lock("Jürgen") << 7 << kHead + "127.0.0.1 : 21520  Jürgen\n\n" + kWarning;
    QTest::newRow("a four-digit box")
        << lock("ops@desk") << 1234
        << "Der Modulator #1234 ist bereits verbunden mit:\n\n" + holder + kWarning;
}

void TestFMUnlock::text()
{
    QFETCH(BoardLock, record);
    QFETCH(int, box);
    QFETCH(QString, expected);
    FMUnlock dialog;
    dialog.setText(record, box);
    QCOMPARE(dialog.text(), expected);
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label"))->text(), expected);
    QTest::ignoreMessage(QtDebugMsg, "~Unlock");
}

void TestFMUnlock::answers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("take");
    QTest::newRow("Bunlock") << "Bunlock" << true;
    QTest::newRow("Bcancel") << "Bcancel" << false;
    QTest::newRow("Enter declines") << "Enter" << false;
    QTest::newRow("Escape declines") << "Escape" << false;
    QTest::newRow("closing declines") << "close" << false;
}

void TestFMUnlock::answers()
{
    QFETCH(QString, action);
    QFETCH(bool, take);
    QWidget tile;
    auto* dialog = new FMUnlock(&tile);
    QSignalSpy spy(dialog, &FMUnlock::unlock);
    // The tile reuses its dialog: every showing gets exactly one answer.
    for (int round = 1; round <= 2; ++round) {
        dialog->setText(lock("ops@desk"), 7);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (action == QLatin1String("Enter"))
            QTest::keyClick(dialog, Qt::Key_Return);
        else if (action == QLatin1String("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (action == QLatin1String("close"))
            dialog->close();
        else
            dialog->findChild<QPushButton*>(action)->click();
        QCOMPARE(spy.count(), round);
        QCOMPARE(spy.last().at(0).toBool(), take);
        QVERIFY(!dialog->isVisible());
    }
    QTest::ignoreMessage(QtDebugMsg, "~Unlock");
}

void TestFMUnlock::centredOverTile()
{
    QWidget tile;
    tile.setGeometry(100, 80, 600, 400);
    tile.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tile));
    FMUnlock dialog(&tile);
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Bereits verbunden!"));
    dialog.setText(lock("ops@desk"), 7);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint tileCentre = tile.mapToGlobal(tile.rect().center());
    const QPoint dialogCentre = dialog.frameGeometry().center();
    QVERIFY2((tileCentre - dialogCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                            .arg(tileCentre.x())
                            .arg(tileCentre.y())
                            .arg(dialogCentre.x())
                            .arg(dialogCentre.y())));
    QTest::ignoreMessage(QtDebugMsg, "~Unlock");
}

QTEST_MAIN(TestFMUnlock)
#include "tst_fmunlock.moc"
