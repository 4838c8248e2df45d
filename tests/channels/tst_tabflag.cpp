#include "channels/Spectrum.h"
#include "channels/TabFlag.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

QImage shown(const QLabel* label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage icon(const QString& name)
{
    return QImage(QStringLiteral(":/icons/%1.png").arg(name))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class TestTabFlag : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void offAirAfterConstruction();
    void onAirIcon_data();
    void onAirIcon();
    void bandFlag_data();
    void bandFlag();
    void clicks_data();
    void clicks();

private:
    QLabel* label(const char* name) const { return flag->findChild<QLabel*>(name); }

    std::unique_ptr<TabFlag> flag;
};

void TestTabFlag::init()
{
    flag = std::make_unique<TabFlag>();
    flag->resize(556, 36);
    flag->show();
    QVERIFY(QTest::qWaitForWindowExposed(flag.get()));
}

void TestTabFlag::cleanup()
{
    QTest::ignoreMessage(QtDebugMsg, "~taf");
    QTest::ignoreMessage(QtDebugMsg, "~Spectrum");
    flag.reset();
}

// The form carries the on-air icon; the strip starts off air all the same.
void TestTabFlag::offAirAfterConstruction()
{
    QVERIFY(!icon(QStringLiteral("offair")).isNull());
    QCOMPARE(shown(label("onair")), icon(QStringLiteral("offair")));
    QCOMPARE(label("onair")->toolTip(),
             QStringLiteral("FM Modulator HF stumm\nKeine Kanäle werden gesendet"));
    QCOMPARE(shown(label("flag")), icon(QStringLiteral("flag36eu")));
}

void TestTabFlag::onAirIcon_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("tip");
    QTest::newRow("on air") << true << "onair"
                            << "FM Modulator HF aktiv\nKanäle werden gesendet";
    QTest::newRow("off air") << false << "offair"
                             << "FM Modulator HF stumm\nKeine Kanäle werden gesendet";
}

void TestTabFlag::onAirIcon()
{
    QFETCH(bool, on);
    QFETCH(QString, icon);
    QFETCH(QString, tip);
    flag->setOnAir(!on);
    flag->setOnAir(on);
    QCOMPARE(flag->onAir(), on);
    QCOMPARE(shown(label("onair")), ::icon(icon));
    QCOMPARE(label("onair")->toolTip(), tip);
    // The band display draws its channels only on air.
    const QImage air = flag->spectrum()->grab().toImage();
    flag->spectrum()->setChannel([] {
        ChannelConfig c;
        c.channel = 1, c.used = true, c.freq = 100.0;
        return c;
    }());
    QCOMPARE(flag->spectrum()->grab().toImage() != air, on);
}

void TestTabFlag::bandFlag_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<double>("bandMin");
    QTest::newRow("Europe") << 0 << "flag36eu"
                            << "Europa FM-Band\n87.5 - 108.0 MHz" << 87.5;
    QTest::newRow("Japan") << 1 << "flag36jpn"
                           << "Japan FM-Band\n76.0 - 95.0 MHz" << 76.0;
    QTest::newRow("Brazil") << 2 << "flag36br"
                            << "Brasilien FM-Band\n76.0 - 108.0 MHz" << 76.0;
    // An unknown band keeps the flag shown before (Japan's here), while the
    // band display falls back to Europe.
    QTest::newRow("unknown band 5") << 5 << "flag36jpn"
                                    << "Japan FM-Band\n76.0 - 95.0 MHz" << 87.5;
}

void TestTabFlag::bandFlag()
{
    QFETCH(int, band);
    QFETCH(QString, icon);
    QFETCH(QString, tip);
    QFETCH(double, bandMin);
    QTest::ignoreMessage(QtDebugMsg, "taf: band 1 attn 0");
    flag->setBand(1, 0);
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("taf: band %1 attn -6").arg(band)));
    flag->setBand(band, -6);
    QCOMPARE(shown(label("flag")), ::icon(icon));
    QCOMPARE(label("flag")->toolTip(), tip);
    QCOMPARE(flag->spectrum()->bandMinimum(), bandMin);
    QCOMPARE(flag->band(), band);
    QCOMPARE(flag->attenuation(), -6);
}

void TestTabFlag::clicks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPointF>("where"); // fraction of the target's size
    QTest::addColumn<int>("onAir");
    QTest::addColumn<int>("band");
    QTest::newRow("on-air icon") << "onair" << QPointF(0.5, 0.5) << 1 << 0;
    QTest::newRow("flag") << "flag" << QPointF(0.5, 0.5) << 0 << 1;
    QTest::newRow("attenuation corner") << "spectrum" << QPointF(0.95, 0.8) << 0 << 1;
    QTest::newRow("display, upper right") << "spectrum" << QPointF(0.95, 0.2) << 0 << 0;
    QTest::newRow("display, lower left") << "spectrum" << QPointF(0.5, 0.8) << 0 << 0;
}

void TestTabFlag::clicks()
{
    QFETCH(QString, target);
    QFETCH(QPointF, where);
    QFETCH(int, onAir);
    QFETCH(int, band);
    QSignalSpy airSpy(flag.get(), &TabFlag::clickOnAir);
    QSignalSpy bandSpy(flag.get(), &TabFlag::clickBand);
    auto* widget = flag->findChild<QWidget*>(target);
    QVERIFY(widget);
    const QPoint at(int(where.x() * widget->width()), int(where.y() * widget->height()));
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QCOMPARE(airSpy.count(), onAir);
    QCOMPARE(bandSpy.count(), band);
}

QTEST_MAIN(TestTabFlag)
#include "tst_tabflag.moc"
