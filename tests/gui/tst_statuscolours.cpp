// Status colours follow the palette's lightness; the colour helpers.
#include "gui/StatusColours.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

class TestStatusColours : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void colourComponents_data();
    void colourComponents();
    void adjustLightness_data();
    void adjustLightness();
    void followPalette_data();
    void followPalette();
};

void TestStatusColours::cleanup()
{
    QApplication::setPalette(QPalette());
    initStatusColours();
}

void TestStatusColours::colourComponents_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<QColor>("mean");
    QTest::newRow("black and white")
        << QColor(0, 0, 0) << QColor(255, 255, 255) << QColor(127, 127, 127, 255);
    QTest::newRow("halves round toward zero")
        << QColor(1, 2, 3, 0) << QColor(2, 3, 4, 255) << QColor(1, 2, 3, 127);
}

void TestStatusColours::colourComponents()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(QColor, mean);
    const QColor result = ::colourComponents(a, b);
    QCOMPARE(result, mean);
    QCOMPARE(result.spec(), QColor::Rgb);
}

void TestStatusColours::adjustLightness_data()
{
    QTest::addColumn<int>("hue");
    QTest::addColumn<int>("saturation");
    QTest::addColumn<int>("expectedHue");
    QTest::addColumn<int>("expectedSaturation");
    QTest::newRow("inside") << 120 << 180 << 120 << 180;
    QTest::newRow("hue above 359") << 400 << 180 << 359 << 180;
    QTest::newRow("negative hue") << -5 << 180 << 0 << 180;
    QTest::newRow("saturation above 255") << 60 << 300 << 60 << 255;
}

void TestStatusColours::adjustLightness()
{
    QFETCH(int, hue);
    QFETCH(int, saturation);
    QFETCH(int, expectedHue);
    QFETCH(int, expectedSaturation);
    const QColor base = QColor::fromHsl(10, 20, 90, 200);
    const QColor result = ::adjustLightness(base, hue, saturation);
    QCOMPARE(result.hslHue(), expectedHue);
    QCOMPARE(result.hslSaturation(), expectedSaturation);
    QCOMPARE(result.lightness(), 90);
    QCOMPARE(result.alpha(), 200);
}

void TestStatusColours::followPalette_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<bool>("dark");
    QTest::newRow("dark scheme") << QColor(40, 40, 45) << true;
    QTest::newRow("light scheme") << QColor(235, 235, 230) << false;
}

void TestStatusColours::followPalette()
{
    QFETCH(QColor, window);
    QFETCH(bool, dark);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    QApplication::setPalette(palette);
    paletteColour();
    for (const QColor& status : {statusRed, statusGreen, statusBlue, statusYellow}) {
        QCOMPARE(status.lightness(), window.lightness());
        QCOMPARE(status.hslSaturation(), 180);
    }
    QCOMPARE(statusRed.hslHue(), 0);
    QCOMPARE(statusGreen.hslHue(), 120);
    QCOMPARE(statusBlue.hslHue(), 240);
    QCOMPARE(statusYellow.hslHue(), 60);
    QCOMPARE(statusGreen.lightness() < 128, dark);
    QCOMPARE(colourSchemeName(), dark ? QStringLiteral("Dark") : QStringLiteral("Light"));
}

QTEST_MAIN(TestStatusColours)
#include "tst_statuscolours.moc"
