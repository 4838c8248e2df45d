// The board tile's colour for each state, on the diagonal and off it.
#include "channels/ChannelView.h"

#include <QApplication>
#include <QTest>

class TestChannelView : public QObject
{
    Q_OBJECT

private slots:
    void stateColours_data();
    void stateColours();
};

void TestChannelView::stateColours_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("state");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<bool>("darker");
    for (int number = 0; number < 4; ++number) {
        const bool darker = number == 1 || number == 2;
        QTest::addRow("tile %d offline", number) << number << 1 << QRgb(0x3030F0) << darker;
        QTest::addRow("tile %d asked", number) << number << 2 << QRgb(0xFF0000) << darker;
        QTest::addRow("tile %d online", number) << number << 3 << QRgb(0xD0D0D0) << darker;
    }
    QTest::newRow("before any report") << 0 << 0 << QRgb(0x3030F0) << false;
    QTest::newRow("an unknown state reads as online") << 3 << 9 << QRgb(0xD0D0D0) << false;
}

void TestChannelView::stateColours()
{
    QFETCH(int, number);
    QFETCH(int, state);
    QFETCH(QRgb, colour);
    QFETCH(bool, darker);
    QWidget page;
    page.setPalette(QPalette(QColor(0x40, 0x80, 0xC0)));
    ChannelView tile(number, &page);
    QVERIFY(tile.autoFillBackground());
    const QColor base = page.palette().color(QPalette::Window);
    tile.setState(state);
    QCOMPARE(tile.state(), state);
    QColor c(colour);
    if (darker)
        c = c.darker(142);
    const QColor expected((base.red() + c.red()) / 2, (base.green() + c.green()) / 2,
                          (base.blue() + c.blue()) / 2, 255);
    QCOMPARE(tile.palette().color(QPalette::Window), expected);
    QCOMPARE(tile.grab().toImage().pixelColor(5, 5), expected);
    // Another state starts from the base colour again, not from the last.
    tile.setState(1);
    tile.setState(state);
    QCOMPARE(tile.palette().color(QPalette::Window), expected);
}

QTEST_MAIN(TestChannelView)
#include "tst_channelview.moc"
