#include "channels/Spectrum.h"
#include "settings/SetValue.h"

#include <QTest>

namespace {

constexpr int kHeight = 36;
constexpr int kLast = kHeight - 1; // h1

constexpr QRgb kWide = 0xff60e060;
constexpr QRgb kNear = 0xffb0b020;
constexpr QRgb kClose = 0xffa04040;
constexpr QRgb kHit = 0xffc01010;
constexpr QRgb kHatch = 0xff504040;

// The scale is 321 pixels for 76 to 108 MHz, 10 pixels per MHz.
int xOf(double mhz)
{
    return int(std::lround((mhz - 76.0) / 32.0 * 320));
}

ChannelConfig carrier(int number, double mhz, bool used = true)
{
    ChannelConfig config;
    config.channel = number;
    config.freq = mhz;
    config.used = used;
    return config;
}

void deliver(Spectrum& spectrum, const QString& key, const QVariant& value)
{
    SetValue event(key, value);
    spectrum.notify(&event);
}

int hatchPixels(const QImage& image, int from, int to)
{
    int count = 0;
    for (int x = from; x <= to; ++x) {
        for (int y = 1; y < kLast; ++y)
            count += image.pixel(x, y) == kHatch;
    }
    return count;
}

// Counts the paints a widget gets.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestSpectrum : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void threeCarriersGiveNineProducts();
    void productsFollowCountAndNotifications_data();
    void productsFollowCountAndNotifications();
    void carriersHitByProductsAreMarked();
    void distanceColours_data();
    void distanceColours();
    void offAirDrawsNoChannel();
    void bandHatching_data();
    void bandHatching();
    void notificationsThatRepaint_data();
    void notificationsThatRepaint();

private:
    void threeCarriers();

    std::unique_ptr<Spectrum> spectrum;
};

void TestSpectrum::init()
{
    spectrum = std::make_unique<Spectrum>();
    spectrum->resize(321, kHeight);
    spectrum->setChannelCount(24);
}

void TestSpectrum::cleanup()
{
    QTest::ignoreMessage(QtDebugMsg, "~Spectrum");
    spectrum.reset();
}

void TestSpectrum::threeCarriers()
{
    spectrum->setChannel(carrier(1, 100.0));
    spectrum->setChannel(carrier(2, 100.2));
    spectrum->setChannel(carrier(3, 100.4));
}

void TestSpectrum::threeCarriersGiveNineProducts()
{
    threeCarriers();
    spectrum->setChannel(carrier(4, 90.0, false)); // unused: no products
    const QMap<int, int> expected{{9960, 1},  {9980, 2},  {10000, 1}, {10020, 1},
                                  {10040, 1}, {10060, 2}, {10080, 1}};
    QCOMPARE(spectrum->intermodulation(), expected);
}

void TestSpectrum::productsFollowCountAndNotifications_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QList<int>>("products");
    QTest::newRow("count cuts the third carrier")
        << 2 << QString() << QVariant() << QList<int>{9980, 10040};
    QTest::newRow("a frequency moves")
        << 24 << "channel.3/freq" << QVariant(QStringLiteral("100.6"))
        << QList<int>{9940, 9960, 9980, 10040, 10080, 10100, 10120};
    QTest::newRow("a carrier goes unused")
        << 24 << "channel.3/used" << QVariant(false) << QList<int>{9980, 10040};
    QTest::newRow("a range of channels")
        << 24 << "channel.2-3/used" << QVariant(false) << QList<int>{};
    QTest::newRow("a gain changes nothing")
        << 24 << "channel.3/gain" << QVariant(-20)
        << QList<int>{9960, 9980, 10000, 10020, 10040, 10060, 10080};
    QTest::newRow("no count, no products") << 0 << QString() << QVariant() << QList<int>{};
}

void TestSpectrum::productsFollowCountAndNotifications()
{
    QFETCH(int, count);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QList<int>, products);
    threeCarriers();
    QCOMPARE(spectrum->intermodulation().size(), 7);
    spectrum->setChannelCount(count);
    if (!key.isEmpty())
        deliver(*spectrum, key, value);
    QCOMPARE(spectrum->intermodulation().keys(), products);
}

// Each of the three carriers is hit by a product of the other two: a red
// mark over it at the top edge. A double click hides the marks.
void TestSpectrum::carriersHitByProductsAreMarked()
{
    threeCarriers();
    spectrum->setOnAir(true);
    QImage image = spectrum->grab().toImage();
    for (double mhz : {100.0, 100.2, 100.4}) {
        QCOMPARE(image.pixel(xOf(mhz), 0), kHit);
        QCOMPARE(image.pixel(xOf(mhz), kLast / 2), kWide);
    }
    QTest::mouseDClick(spectrum.get(), Qt::LeftButton);
    QVERIFY(!spectrum->showsIntermod());
    image = spectrum->grab().toImage();
    for (double mhz : {100.0, 100.2, 100.4})
        QCOMPARE(image.pixel(xOf(mhz), 0), kWide);
}

void TestSpectrum::distanceColours_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<bool>("wide");
    QTest::newRow("0.15 MHz: 3 px red") << 0.15 << uint(kClose) << true;
    QTest::newRow("0.25 MHz: yellow") << 0.25 << uint(kNear) << false;
    QTest::newRow("0.3 MHz: green") << 0.3 << uint(kWide) << false;
}

void TestSpectrum::distanceColours()
{
    QFETCH(double, distance);
    QFETCH(uint, colour);
    QFETCH(bool, wide);
    ChannelConfig config = carrier(5, 98.0);
    config.gain = -30;
    spectrum->setChannel(config);
    deliver(*spectrum, QStringLiteral("chinfo.5/dist"), QString::number(distance, 'f', 3));
    spectrum->setOnAir(true);
    const QImage image = spectrum->grab().toImage();
    const int x = xOf(98.0);
    const int top = int(std::lround(-30 * (kLast / -60.0)));
    QCOMPARE(image.pixel(x, top), colour);
    QCOMPARE(image.pixel(x, kLast - 1), colour);
    // -30 dB reaches half way up.
    QVERIFY(image.pixel(x, top - 2) != colour);
    QCOMPARE(image.pixel(x + 1, kLast / 2) == colour, wide);
    QCOMPARE(image.pixel(x - 1, kLast / 2) == colour, wide);
}

void TestSpectrum::offAirDrawsNoChannel()
{
    spectrum->setBand(1, -6);
    const QImage empty = spectrum->grab().toImage();
    threeCarriers();
    deliver(*spectrum, QStringLiteral("chinfo.1/dist"), QStringLiteral("0.100"));
    QCOMPARE(spectrum->grab().toImage(), empty);
    spectrum->setOnAir(true);
    QVERIFY(spectrum->grab().toImage() != empty);
}

void TestSpectrum::bandHatching_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<QString>("tip");
    QTest::newRow("Europe hatches below 87.5") << 0 << 87.5 << 108.0 << "FM-Band\n87.5 - 108.0 MHz";
    QTest::newRow("Japan hatches above 95") << 1 << 76.0 << 95.0 << "FM-Band\n76.0 - 95.0 MHz";
    QTest::newRow("Brazil hatches nothing") << 2 << 76.0 << 108.0 << "FM-Band\n76.0 - 108.0 MHz";
    QTest::newRow("an unknown band is Europe") << 5 << 87.5 << 108.0 << "FM-Band\n87.5 - 108.0 MHz";
}

void TestSpectrum::bandHatching()
{
    QFETCH(int, band);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(QString, tip);
    spectrum->setBand(band, 0);
    QCOMPARE(spectrum->bandMinimum(), from);
    QCOMPARE(spectrum->bandMaximum(), to);
    QCOMPARE(spectrum->toolTip(), tip);
    const QImage image = spectrum->grab().toImage();
    QCOMPARE(hatchPixels(image, 1, xOf(from) - 1) > 0, from > 76.0);
    QCOMPARE(hatchPixels(image, xOf(from) + 1, xOf(to) - 1), 0);
    QCOMPARE(hatchPixels(image, xOf(to) + 1, 319) > 0, to < 108.0);
}

void TestSpectrum::notificationsThatRepaint_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("distance") << "chinfo.2/dist" << true;
    QTest::newRow("frequency") << "channel.2/freq" << true;
    QTest::newRow("gain") << "channel.2/gain" << true;
    QTest::newRow("play rate") << "chinfo.2/playrate" << false;
    QTest::newRow("song position") << "chinfo.2/playpos" << false;
    QTest::newRow("another channel key") << "channel.2/devi" << false;
    QTest::newRow("no instance") << "chinfo" << false;
    QTest::newRow("no key part") << "channel.5" << false;
}

void TestSpectrum::notificationsThatRepaint()
{
    QFETCH(QString, key);
    QFETCH(bool, repaints);
    PaintCounter counter;
    spectrum->installEventFilter(&counter);
    spectrum->show();
    QVERIFY(QTest::qWaitForWindowExposed(spectrum.get()));
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 20000);
    QCoreApplication::processEvents();
    counter.paints = 0;
    deliver(*spectrum, key, QStringLiteral("0"));
    if (repaints) {
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 20000);
    } else {
        // A repaint that was asked for arrives with the next turn of the
        // event loop; nothing else is pending here.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);
    }
}

QTEST_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
