// The painted controls of the channel strip: the value slider driven by
// keys, wheel and drags, the source chooser and the used switch.
#include "channels/Lister.h"
#include "channels/OnOff.h"
#include "channels/Slider.h"

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

constexpr int kPopupHeight = 33;

struct Range
{
    double min;
    double max;
    double step;
};

const Range kFrequency{87.5, 108.0, 0.001};
const Range kGain{-60, 0, 1};
const Range kVolume{0, 100, 1};

std::unique_ptr<Slider> shownSlider(const Range& range, double start)
{
    auto slider = std::make_unique<Slider>(range.min, range.max, range.step, QStringLiteral("x"));
    slider->resize(14 * kPopupHeight, kPopupHeight);
    slider->show();
    slider->setValue(start);
    return slider;
}

// Space-separated keys: single characters as typed, or key names.
void press(Slider* slider, const QString& keys)
{
    static const QMap<QString, Qt::Key> named{
        {QStringLiteral("Up"), Qt::Key_Up},         {QStringLiteral("Down"), Qt::Key_Down},
        {QStringLiteral("Left"), Qt::Key_Left},     {QStringLiteral("Right"), Qt::Key_Right},
        {QStringLiteral("PageUp"), Qt::Key_PageUp}, {QStringLiteral("PageDown"), Qt::Key_PageDown},
        {QStringLiteral("Home"), Qt::Key_Home},     {QStringLiteral("End"), Qt::Key_End},
        {QStringLiteral("Esc"), Qt::Key_Escape},    {QStringLiteral("Return"), Qt::Key_Return},
        {QStringLiteral("BS"), Qt::Key_Backspace},
    };
    for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (named.contains(key))
            QTest::keyClick(slider, named.value(key));
        else
            QTest::keyClick(slider, key.at(0).toLatin1());
        if (slider->isVisible())
            slider->grab();
    }
}

} // namespace

Q_DECLARE_METATYPE(Range)

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void sliderKeys_data();
    void sliderKeys();
    void sliderWheel_data();
    void sliderWheel();
    void sliderDragSnaps_data();
    void sliderDragSnaps();
    void sliderSetValueEmitsNothing();
    void sliderParseText_data();
    void sliderParseText();
    void listerEmitsChosenId();
    void onOffFlipsAndEmits();
};

void TestControls::sliderKeys_data()
{
    QTest::addColumn<Range>("range");
    QTest::addColumn<double>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<double>>("emitted");
    using L = QList<double>;

    QTest::newRow("frequency 9 5 . 8") << kFrequency << 100.0 << "9 5 . 8"
                                       << "95.8" << L{};
    QTest::newRow("a comma types a point") << kFrequency << 100.0 << "9 5 , 8"
                                           << "95.8" << L{};
    QTest::newRow("a fourth decimal replaces the third") << kFrequency << 100.0 << "9 5 . 8 0 5 3"
                                                         << "95.803" << L{};
    QTest::newRow("a lone 9 below the range waits") << kFrequency << 100.0 << "9"
                                                    << "9" << L{};
    QTest::newRow("digits beyond the range are refused") << kFrequency << 100.0 << "1 2 3"
                                                         << "12" << L{};
    QTest::newRow("backspace keeps the value") << kFrequency << 100.0 << "9 5 . 8 BS"
                                               << "95." << L{};
    QTest::newRow("gain 1 gives -1") << kGain << 0.0 << "1"
                                     << "-1" << L{};
    QTest::newRow("gain 1 2 gives -12") << kGain << 0.0 << "1 2"
                                        << "-12" << L{};
    QTest::newRow("gain takes a minus first") << kGain << 0.0 << "- 3"
                                              << "-3" << L{};
    QTest::newRow("volume refuses a point") << kVolume << 40.0 << "5 . 5"
                                            << "55" << L{};
    QTest::newRow("Up adds ten steps") << kFrequency << 95.8 << "Up"
                                       << "95.810" << L{95.81};
    QTest::newRow("Down takes ten steps") << kVolume << 40.0 << "Down"
                                          << "30" << L{30};
    QTest::newRow("Right adds a step") << kFrequency << 95.8 << "Right"
                                       << "95.801" << L{95.801};
    QTest::newRow("Left takes a step") << kGain << -6.0 << "Left"
                                       << "-7" << L{-7};
    QTest::newRow("PageUp adds ten coarse steps") << kFrequency << 95.8 << "PageUp"
                                                  << "96.300" << L{96.3};
    QTest::newRow("PageDown on the volume") << kVolume << 40.0 << "PageDown"
                                            << "30" << L{30};
    QTest::newRow("Home gives the maximum") << kFrequency << 95.8 << "Home"
                                            << "108.000" << L{108};
    QTest::newRow("End gives the minimum") << kFrequency << 95.8 << "End"
                                           << "87.500" << L{87.5};
    QTest::newRow("Up stops at the end") << kVolume << 95.0 << "Up"
                                         << "100" << L{100};
    QTest::newRow("a navigation key drops typing and steps from the value")
        << kFrequency << 100.0 << "9 7 Right"
        << "100.001" << L{100.001};
    QTest::newRow("Return confirms the typed value") << kFrequency << 100.0 << "9 7 . 1 Return"
                                                     << "97.1" << L{97.1};
    QTest::newRow("Return without typing confirms the value") << kFrequency << 100.0 << "Return"
                                                              << "100.000" << L{100};
    QTest::newRow("Escape emits nothing") << kFrequency << 100.0 << "Esc"
                                          << "100.000" << L{};
    QTest::newRow("Escape drops the typed digits") << kFrequency << 100.0 << "9 5 Esc"
                                                   << "100.000" << L{};
    QTest::newRow("Escape takes back the steps") << kFrequency << 100.0 << "Right Right Esc"
                                                 << "100.000" << L{100.001, 100.002, 100};
}

// The popup repaints after every key, as it does on screen; typed digits
// reach the owner only with Return, however often it paints.
void TestControls::sliderKeys()
{
    QFETCH(Range, range);
    QFETCH(double, start);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QList<double>, emitted);
    auto slider = shownSlider(range, start);
    slider->grab();
    QSignalSpy changed(slider.get(), &Slider::valueChanged);
    press(slider.get(), keys);
    QCOMPARE(slider->text(), text);
    QList<double> values;
    for (const QList<QVariant>& signal : changed)
        values.append(signal.at(0).toDouble());
    QCOMPARE(values, emitted);
    const bool closes =
        keys.endsWith(QLatin1String("Return")) || keys.endsWith(QLatin1String("Esc"));
    QCOMPARE(slider->isVisible(), !closes);
}

void TestControls::sliderWheel_data()
{
    QTest::addColumn<Range>("range");
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("delta");
    QTest::addColumn<double>("emitted");
    QTest::newRow("frequency notch is 0.1 MHz") << kFrequency << 95.8 << 120 << 95.9;
    QTest::newRow("frequency notch down") << kFrequency << 95.8 << -120 << 95.7;
    QTest::newRow("two notches at once") << kFrequency << 95.8 << 240 << 96.0;
    QTest::newRow("volume notch is one") << kVolume << 40.0 << 120 << 41.0;
    QTest::newRow("the paint stops at the end") << kVolume << 100.0 << -120 << 99.0;
    QTest::newRow("beyond the end is clamped") << kGain << -0.0 << 120 << 0.0;
}

void TestControls::sliderWheel()
{
    QFETCH(Range, range);
    QFETCH(double, start);
    QFETCH(int, delta);
    QFETCH(double, emitted);
    auto slider = shownSlider(range, start);
    slider->grab();
    QSignalSpy changed(slider.get(), &Slider::valueChanged);
    const QPointF at(50, 10);
    QWheelEvent wheel(at, slider->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider.get(), &wheel);
    slider->grab();
    QCOMPARE(slider->value(), emitted);
    QCOMPARE(changed.size(), emitted == start ? 0 : 1);
}

void TestControls::sliderDragSnaps_data()
{
    QTest::addColumn<int>("x");
    for (int x : {20, 57, 133, 231, 300, 401, 440})
        QTest::addRow("at x %d", x) << x;
}

// Dragging lands on the 50 kHz grid wherever the pointer is.
void TestControls::sliderDragSnaps()
{
    QFETCH(int, x);
    auto slider = shownSlider(kFrequency, 95.803);
    slider->grab();
    QSignalSpy changed(slider.get(), &Slider::valueChanged);
    QTest::mousePress(slider.get(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 10));
    slider->grab();
    QCOMPARE(changed.size(), 1);
    const double value = changed.last().at(0).toDouble();
    const double grid = value / 0.05;
    QVERIFY2(std::fabs(grid - std::round(grid)) < 1e-6, qPrintable(QString::number(value)));
    const double r = kPopupHeight / 2;
    const double span = slider->width() - 1 - 2 * r;
    const double raw = 87.5 + (x - r) / span * (108.0 - 87.5);
    QCOMPARE(value, std::clamp(std::round(raw / 0.05) * 0.05, 87.5, 108.0));
}

void TestControls::sliderSetValueEmitsNothing()
{
    auto slider = shownSlider(kFrequency, 95.8);
    QSignalSpy changed(slider.get(), &Slider::valueChanged);
    // Values outside the range too: the knob stops at the end, the value stays.
    for (double v : {87.5, 95.805, 100.0, 108.0, 80.0, 110.0}) {
        slider->setValue(v);
        slider->grab();
        QCOMPARE(slider->text(), QString::number(v, 'f', 3));
    }
    QCOMPARE(changed.size(), 0);
}

void TestControls::sliderParseText_data()
{
    QTest::addColumn<Range>("range");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("add");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("result");
    QTest::newRow("within the range") << kFrequency << "9"
                                      << "5" << true << "95";
    QTest::newRow("outside either sign") << kFrequency << ""
                                         << "9" << false << "";
    QTest::newRow("gain flips the sign") << kGain << ""
                                         << "5" << true << "-5";
    QTest::newRow("gain keeps a typed minus") << kGain << "-"
                                              << "7" << true << "-7";
    QTest::newRow("a negative beyond the gain") << kGain << "-6"
                                                << "1" << false << "-6";
    QTest::newRow("not a number") << kVolume << ""
                                  << "." << false << "";
}

void TestControls::sliderParseText()
{
    QFETCH(Range, range);
    QFETCH(QString, text);
    QFETCH(QString, add);
    QFETCH(bool, accepted);
    QFETCH(QString, result);
    Slider slider(range.min, range.max, range.step, QString());
    QCOMPARE(slider.parseText(text, add), accepted);
    QCOMPARE(text, result);
}

void TestControls::listerEmitsChosenId()
{
    QWidget field;
    field.resize(200, 30);
    field.show();
    Lister chooser(&field);
    QSignalSpy chosen(&chooser, qOverload<int>(&Lister::selected));
    chooser.show();
    chooser.showList(
        {{0, QStringLiteral("<kein>")}, {3, QStringLiteral("Drei")}, {7, QStringLiteral("Sieben")}},
        3);
    QCOMPARE(chooser.currentText(), QStringLiteral("Drei"));
    QCOMPARE(chosen.size(), 0);
    chooser.hidePopup();
    // The current entry again changes nothing and the chooser stays.
    chooser.setCurrentIndex(1);
    QCOMPARE(chosen.size(), 0);
    QVERIFY(chooser.isVisible());
    chooser.setCurrentIndex(2);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.last().at(0).toInt(), 7);
    QVERIFY(!chooser.isVisible());
    // An absent id selects nothing.
    chooser.show();
    chooser.showList({{0, QStringLiteral("<kein>")}, {3, QStringLiteral("Drei")}}, 9);
    QCOMPARE(chooser.currentIndex(), -1);
    chooser.hidePopup();
    chooser.setCurrentIndex(0);
    QCOMPARE(chosen.last().at(0).toInt(), 0);
}

void TestControls::onOffFlipsAndEmits()
{
    OnOff onOff;
    onOff.text = QStringLiteral("5");
    onOff.resize(20, 60);
    onOff.show();
    QSignalSpy clicked(&onOff, &OnOff::clicked);
    const QRgb trackOn = 0xFF108010;
    const QRgb trackOff = 0xFF101010;
    const auto pixel = [&onOff](int y) { return onOff.grab().toImage().pixel(10, y); };
    // Off: the knob sits at the top, the track shows below it.
    QCOMPARE(pixel(52), trackOff);
    QTest::mouseClick(&onOff, Qt::LeftButton);
    QVERIFY(onOff.on);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.last().at(0).toBool(), true);
    QCOMPARE(pixel(28), trackOn);
    QTest::mouseClick(&onOff, Qt::RightButton);
    QVERIFY(!onOff.on);
    QCOMPARE(clicked.last().at(0).toBool(), false);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
