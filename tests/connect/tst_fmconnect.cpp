// The connection dialog: its board list against the board emulator's
// discovery answers on 127.0.0.1, the colours and tips of the four lists,
// choosing a board per position by double-click, and what it hands on.
#include "BoardEmulator.h"
#include "LogCapture.h"

#include "board/FMDiscover.h"
#include "connect/FMConnect.h"
#include "connect/FMConnectModel.h"
#include "gui/StatusColours.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;
constexpr quint32 kLoopback = 0x7F000001;

BoardIP board(int box, quint32 ipv4, quint16 port)
{
    BoardIP address;
    address.ipv4 = ipv4;
    address.port = port;
    address.mac = {0x00, 0x50, 0xC2, 0x11, quint8(box >> 8), quint8(box & 0xFF)};
    if (box == 0)
        address.mac = {};
    return address;
}

// The dialog with a discoverer that reaches only the emulator, or nothing.
struct Connect
{
    Connect(int count, const QList<BoardIP>& stored, quint16 discoverPort = 9,
            const QList<QHostAddress>& broadcasts = {})
    {
        discover = new FMDiscover(0, discoverPort);
        discover->setBroadcastAddresses(broadcasts);
        dialog = std::make_unique<FMConnect>(count, stored, nullptr, discover);
        dialog->show();
    }

    QTableView* view(int position) const
    {
        return dialog->findChild<QTableView*>(QStringLiteral("m%1").arg(position + 1));
    }

    QVariant cell(int position, int row, int column, int role) const
    {
        FMConnectModel* model = dialog->model(position);
        return model->data(model->index(row, column), role);
    }

    // A double-click as the user makes it: the press that sets the pressed
    // cell comes first.
    void doubleClick(int position, int row) const
    {
        QTableView* table = view(position);
        const QRect rect = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (int p = 0; p < FMConnect::kPositions; ++p)
            rows.append(dialog->model(p)->selectedRow());
        return rows;
    }

    template <typename T> T* find(const QString& name) const { return dialog->findChild<T*>(name); }

    FMDiscover* discover;
    std::unique_ptr<FMConnect> dialog;
};

} // namespace

class TestFMConnect : public QObject
{
    Q_OBJECT

private slots:
    void foundBoardTurnsGreen();
    void discoveryMerges_data();
    void discoveryMerges();
    void duplicateAddressesAreRed();
    void cellTexts();
    void edits_data();
    void edits();
    void addStopsAtFive();
    void choosingPositions();
    void positionsShownByCount();
    void connectHandsOnTheChoice();
    void closeHandsOnNothing();
};

void TestFMConnect::foundBoardTurnsGreen()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    emulator.setMac({0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C});
    const QList<BoardIP> stored{board(300, kLoopback, emulator.port()),
                                board(7, 0x0A000007, 21000)};
    Connect connect(2, stored, emulator.port(), {QHostAddress(QHostAddress::LocalHost)});
    QVERIFY(!connect.cell(1, 0, 1, Qt::BackgroundRole).isValid());
    QTRY_COMPARE_WITH_TIMEOUT(connect.cell(1, 0, 1, Qt::BackgroundRole).value<QColor>(),
                              statusGreen, kWaitMs);
    for (int column = 0; column < FMConnectModel::kColumns; ++column) {
        QCOMPARE(connect.cell(2, 0, column, Qt::BackgroundRole).value<QColor>(), statusGreen);
        QVERIFY(!connect.cell(2, 1, column, Qt::BackgroundRole).isValid());
    }
    // The chosen row of its own position shows blue in the box column.
    QCOMPARE(connect.cell(0, 0, 0, Qt::BackgroundRole).value<QColor>(), statusBlue);
    QCOMPARE(connect.dialog->boardList(), stored);
}

void TestFMConnect::discoveryMerges_data()
{
    QTest::addColumn<QList<BoardIP>>("stored");
    QTest::addColumn<QList<BoardIP>>("merged");
    QTest::addColumn<QString>("logged");
    const BoardIP answer = board(300, kLoopback, 21000);
    QTest::newRow("a known box at a new address follows it")
        << QList<BoardIP>{board(7, 0x0A000007, 1), board(300, 0x0A000005, 20000)}
        << QList<BoardIP>{board(7, 0x0A000007, 1), answer} << "Con: newip";
    QTest::newRow("a row added by hand takes MAC and port")
        << QList<BoardIP>{board(0, kLoopback, 1234)} << QList<BoardIP>{answer} << "Con: boxnr";
    QTest::newRow("a known box at its address keeps its port")
        << QList<BoardIP>{board(300, kLoopback, 999)} << QList<BoardIP>{board(300, kLoopback, 999)}
        << "";
    QTest::newRow("another box at the same address is appended")
        << QList<BoardIP>{board(5, kLoopback, 21000)}
        << QList<BoardIP>{board(5, kLoopback, 21000), answer} << "";
    QTest::newRow("an unknown board is appended")
        << QList<BoardIP>{} << QList<BoardIP>{answer} << "";
}

void TestFMConnect::discoveryMerges()
{
    QFETCH(QList<BoardIP>, stored);
    QFETCH(QList<BoardIP>, merged);
    QFETCH(QString, logged);
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    emulator.setMac(board(300, 0, 0).mac);
    emulator.setAnnouncedAddress(kLoopback, 21000);
    LogCapture log(QStringLiteral("Con: "));
    Connect connect(4, stored, emulator.port(), {QHostAddress(QHostAddress::LocalHost)});
    QSignalSpy found(connect.discover, &FMDiscover::found);
    QTRY_VERIFY_WITH_TIMEOUT(found.size() >= 1, kWaitMs);
    QCOMPARE(connect.dialog->boardList(), merged);
    const QStringList merges =
        log.texts(QStringLiteral("Con: newip")) + log.texts(QStringLiteral("Con: boxnr"));
    QCOMPARE(merges.size(), logged.isEmpty() ? 0 : 1);
    if (!logged.isEmpty())
        QVERIFY2(merges.first().startsWith(logged), qPrintable(merges.first()));
    // A second answer of the same board changes nothing more.
    connect.discover->sendDiscover();
    QTRY_VERIFY_WITH_TIMEOUT(found.size() >= 2, kWaitMs);
    QCOMPARE(connect.dialog->boardList(), merged);
    QCOMPARE(connect.view(0)->model()->rowCount(), merged.size());
}

void TestFMConnect::duplicateAddressesAreRed()
{
    const QList<BoardIP> stored{board(1, 0x0A000001, 21000), board(2, 0x0A000001, 21001),
                                board(3, 0x0A000003, 21000)};
    Connect connect(4, stored);
    const QString tip = QStringLiteral("Doppelte IP-Adresse! Bitte die Modulatoren\nauf "
                                       "unterschiedliche Adressen konfigurieren!");
    for (int row : {0, 1}) {
        QCOMPARE(connect.cell(3, row, 1, Qt::BackgroundRole).value<QColor>(), statusRed);
        QCOMPARE(connect.cell(3, row, 1, Qt::ToolTipRole).toString(), tip);
        QVERIFY(!connect.cell(3, row, 2, Qt::BackgroundRole).isValid());
        QVERIFY(!connect.cell(3, row, 2, Qt::ToolTipRole).isValid());
    }
    QVERIFY(!connect.cell(3, 2, 1, Qt::BackgroundRole).isValid());
    QVERIFY(!connect.cell(3, 2, 1, Qt::ToolTipRole).isValid());
    // An edit that ends the duplicate clears the red at once.
    FMConnectModel* model = connect.dialog->model(0);
    QVERIFY(model->setData(model->index(1, 1), QStringLiteral("10.0.0.2"), Qt::EditRole));
    QVERIFY(!connect.cell(3, 0, 1, Qt::BackgroundRole).isValid());
}

void TestFMConnect::cellTexts()
{
    Connect connect(1, {board(7, 0xC0A80114, 21000), board(0, 0, 1234)});
    QCOMPARE(connect.cell(0, 0, 0, Qt::DisplayRole).toString(), QStringLiteral("#007"));
    QCOMPARE(connect.cell(0, 0, 1, Qt::DisplayRole).toString(), QStringLiteral("192.168.1.20"));
    QCOMPARE(connect.cell(0, 0, 2, Qt::DisplayRole).toInt(), 21000);
    QCOMPARE(connect.cell(0, 1, 0, Qt::DisplayRole).toString(), QStringLiteral("#???"));
    QCOMPARE(connect.cell(1, 1, 0, FMConnectModel::kSelectionTipRole).toString(),
             QStringLiteral("#??? ausgewählt für rechts oben"));
    QVERIFY(!connect.cell(1, 0, 0, FMConnectModel::kSelectionTipRole).isValid());
    FMConnectModel* model = connect.dialog->model(0);
    QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("IP-Adresse"));
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
}

void TestFMConnect::edits_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("new port") << 2 << "21001" << true << "21001";
    QTest::newRow("same port") << 2 << "21000" << true << "21000";
    QTest::newRow("port 70000 refused") << 2 << "70000" << false << "21000";
    QTest::newRow("port x refused") << 2 << "x" << false << "21000";
    QTest::newRow("port 0 refused") << 2 << "0" << false << "21000";
    QTest::newRow("negative port refused") << 2 << "-1" << false << "21000";
    QTest::newRow("highest port") << 2 << "65535" << true << "65535";
    QTest::newRow("new address") << 1 << "10.0.0.7" << true << "10.0.0.7";
    QTest::newRow("three numbers refused") << 1 << "10.0.0" << false << "192.168.1.20";
    QTest::newRow("octet 300 refused") << 1 << "10.0.0.300" << false << "192.168.1.20";
    QTest::newRow("box column not editable") << 0 << "#001" << false << "#007";
}

void TestFMConnect::edits()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, shown);
    Connect connect(2, {board(7, 0xC0A80114, 21000)});
    FMConnectModel* model = connect.dialog->model(1);
    QSignalSpy changed(model, &FMConnectModel::rowChanged);
    QCOMPARE(model->setData(model->index(0, column), typed, Qt::EditRole), accepted);
    QCOMPARE(model->setData(model->index(0, column), typed, Qt::DisplayRole), false);
    // Every list shows the one board list.
    for (int p = 0; p < FMConnect::kPositions; ++p)
        QCOMPARE(connect.cell(p, 0, column, Qt::DisplayRole).toString(), shown);
    const bool different = accepted && typed != QStringLiteral("21000");
    QCOMPARE(changed.size(), different ? 1 : 0);
}

void TestFMConnect::addStopsAtFive()
{
    Connect connect(4, {board(1, 0x0A000001, 21000), board(2, 0x0A000002, 21000)});
    auto* add = connect.find<QToolButton>(QStringLiteral("Badd"));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(add->isEnabled());
        QTest::mouseClick(add, Qt::LeftButton);
    }
    QVERIFY(!add->isEnabled());
    QCOMPARE(connect.view(2)->model()->rowCount(), 5);
    const BoardIP added = connect.dialog->boardList().last();
    QCOMPARE(added, board(0, 0, 1234));
    QCOMPARE(connect.cell(2, 4, 1, Qt::DisplayRole).toString(), QStringLiteral("0.0.0.0"));
}

void TestFMConnect::choosingPositions()
{
    const QList<BoardIP> stored{board(1, 0x0A000001, 21000), board(2, 0x0A000002, 21000),
                                board(3, 0x0A000003, 21000)};
    Connect connect(4, stored);
    QCOMPARE(connect.selectedRows(), (QList<int>{0, 1, 2, 3}));

    // A board chosen at an earlier position stays there.
    connect.doubleClick(2, 0);
    QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), QStringLiteral("Ist schon ausgewählt!"), kWaitMs);
    QCOMPARE(connect.selectedRows(), (QList<int>{0, 1, 2, 3}));

    // From a later position it moves.
    connect.doubleClick(0, 2);
    QCOMPARE(connect.selectedRows(), (QList<int>{2, 1, -1, 3}));
    QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), QStringLiteral("#003 ausgewählt für links oben"),
                              kWaitMs);

    // Only the box column chooses.
    connect.doubleClick(3, 1);
    QCOMPARE(connect.selectedRows(), (QList<int>{2, 1, -1, 3}));
    QTableView* table = connect.view(3);
    const QRect address = table->visualRect(table->model()->index(0, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, address.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, address.center());
    QCOMPARE(connect.selectedRows(), (QList<int>{2, 1, -1, 3}));
}

void TestFMConnect::positionsShownByCount()
{
    Connect connect(1, {});
    auto* mods = connect.find<QSpinBox>(QStringLiteral("mods"));
    QCOMPARE(mods->value(), 1);
    for (int count = 1; count <= FMConnect::kPositions; ++count) {
        mods->setValue(count);
        for (int frame = 1; frame <= FMConnect::kPositions; ++frame)
            QCOMPARE(connect.find<QWidget>(QStringLiteral("f%1").arg(frame))->isVisible(),
                     frame <= count);
    }
}

void TestFMConnect::connectHandsOnTheChoice()
{
    const QList<BoardIP> stored{board(1, 0x0A000001, 21000), board(2, 0x0A000002, 21000),
                                board(3, 0x0A000003, 21000)};
    Connect connect(3, stored);
    QSignalSpy spy(connect.dialog.get(), &FMConnect::connectTo);
    connect.doubleClick(0, 2);
    connect.doubleClick(1, 0);
    QCOMPARE(connect.selectedRows(), (QList<int>{2, 0, -1, 3}));
    connect.find<QSpinBox>(QStringLiteral("mods"))->setValue(2);
    QTest::mouseClick(connect.find<QPushButton>(QStringLiteral("Bset")), Qt::LeftButton);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().at(0).toInt(), 2);
    // The position without a board is skipped; row 3 does not exist.
    QCOMPARE(spy.first().at(1).value<QList<BoardIP>>(), (QList<BoardIP>{stored[2], stored[0]}));
    QCOMPARE(connect.dialog->result(), int(QDialog::Accepted));
}

void TestFMConnect::closeHandsOnNothing()
{
    Connect connect(2, {board(1, 0x0A000001, 21000)});
    QSignalSpy spy(connect.dialog.get(), &FMConnect::connectTo);
    QTest::mouseClick(connect.find<QPushButton>(QStringLiteral("Bcancel")), Qt::LeftButton);
    QCOMPARE(connect.dialog->result(), int(QDialog::Rejected));
    connect.dialog->close();
    QCOMPARE(spy.size(), 0);
}

QTEST_MAIN(TestFMConnect)
#include "tst_fmconnect.moc"
