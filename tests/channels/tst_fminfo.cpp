#include "channels/FMInfo.h"
#include "settings/FMSettings.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

// Everything the strip hands the light, for one table row.
struct LightInput
{
    ChannelConfig config;
    ChannelStatus status;
    quint32 pcmCapacity = 0;
    quint32 rdsCapacity = 0;
    int audioType = 0;
    unsigned playRate = 0;
};
Q_DECLARE_METATYPE(LightInput)

namespace {

constexpr int kChannel = 3;
// d = 16, x0 = 4: r10-r12 span rows 73 to 98, the bars 26 rows high.
constexpr int kWidth = 60;
constexpr int kHeight = 100;
constexpr qint64 kEvenSecond = 1'700'000'000;

const QString kPrefix = QStringLiteral("<p style='white-space:pre'>");

QPoint centre(const FMInfo& info, int area)
{
    return info.area(area).center();
}

// Half way out from a lamp's centre: the colour of its gradient's middle
// stop, which tells the four lamps apart.
QColor lampColour(const QImage& image, const FMInfo& info, int area)
{
    return image.pixelColor(centre(info, area) + QPoint(2, 2));
}

bool isGreen(const QColor& c)
{
    return c.green() > c.red() + 60 && c.green() > c.blue() + 60;
}

bool isYellow(const QColor& c)
{
    return c.red() > 120 && c.green() > 120 && c.blue() < c.red() - 60;
}

bool isDark(const QColor& c)
{
    return std::max({c.red(), c.green(), c.blue()}) < 0x50;
}

bool isRed(const QColor& c)
{
    return c.red() > c.green() + 100 && c.red() > c.blue() + 100;
}

bool painted(const QColor& c)
{
    return std::max({c.red(), c.green(), c.blue()}) > 0x40;
}

// Filled rows of one bar column, counted from the bottom of the bar.
int barRows(const QImage& image, int column)
{
    int rows = 0;
    for (int y = kHeight - 2; y >= 0 && painted(image.pixelColor(column, y)); --y)
        ++rows;
    return rows;
}

class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

ChannelConfig channel(int devi)
{
    ChannelConfig config;
    config.channel = kChannel;
    config.devi = devi;
    return config;
}

} // namespace

class TestFMInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rememberedDeviation_data();
    void rememberedDeviation();
    void storeChangeReachesLight();
    void clickWritesKey_data();
    void clickWritesKey();
    void clickWithoutStoreOrChannel();
    void shownTip_data();
    void shownTip();
    void toolTips_data();
    void toolTips();
    void statusChangingOnlyRatesIsIgnored();
    void fileRateBlinks_data();
    void fileRateBlinks();
    void bars_data();
    void bars();
    void powerBeyondTenDbIsClamped();
    void alarmLamps_data();
    void alarmLamps();
    void reportRepaintsAsAWholePaintWould();

private:
    void setInput(const LightInput& input);
    QSharedPointer<FMSettings> openStore();

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMInfo> info;
    qint64 now = kEvenSecond;
};

void TestFMInfo::init()
{
    dir = std::make_unique<QTemporaryDir>();
    now = kEvenSecond;
    FMInfo::setClock([this] { return now; });
    info = std::make_unique<FMInfo>();
    info->resize(kWidth, kHeight);
    info->show();
    QVERIFY(QTest::qWaitForWindowExposed(info.get()));
}

void TestFMInfo::cleanup()
{
    info.reset();
    FMInfo::setClock(nullptr);
    dir.reset();
}

QSharedPointer<FMSettings> TestFMInfo::openStore()
{
    auto store = QSharedPointer<FMSettings>::create(dir->filePath(QStringLiteral("p.fm")));
    info->setStore(store);
    return store;
}

void TestFMInfo::setInput(const LightInput& input)
{
    info->setState(input.config);
    BoardInfo board;
    board.pcmCapacity = input.pcmCapacity;
    board.rdsCapacity = input.rdsCapacity;
    info->setBoardInfo(board);
    info->setStatus(input.status);
    info->setAudioType(input.audioType);
    info->setPlayRate(input.playRate);
}

void TestFMInfo::rememberedDeviation_data()
{
    QTest::addColumn<QList<int>>("records");
    QTest::addColumn<int>("written");
    QTest::newRow("the last deviation other than 50 and 75") << QList<int>{75, 60, 50, 75} << 60;
    QTest::newRow("a first 50 is remembered") << QList<int>{50} << 50;
    QTest::newRow("50 stays until another arrives") << QList<int>{50, 75, 50} << 50;
    QTest::newRow("the newest other deviation wins") << QList<int>{60, 75, 100, 50} << 100;
}

void TestFMInfo::rememberedDeviation()
{
    QFETCH(QList<int>, records);
    QFETCH(int, written);
    auto store = openStore();
    for (int devi : records)
        info->setState(channel(devi));
    QTest::mouseClick(info.get(), Qt::LeftButton, {}, centre(*info, FMInfo::DeviOther));
    QCOMPARE(store->channel(kChannel).devi, written);
}

void TestFMInfo::storeChangeReachesLight()
{
    info->setState(channel(75));
    auto store = openStore();
    QCoreApplication::processEvents();
    const QImage at75 = info->grab().toImage();
    // The gain is not drawn on the light: the lamps stay as they are.
    store->setValue(QStringLiteral("channel.%1.gain").arg(kChannel), -7);
    QTRY_COMPARE_WITH_TIMEOUT(info->state().gain, -7, 20000);
    QCOMPARE(info->grab().toImage(), at75);
    PaintCounter paints;
    info->installEventFilter(&paints);
    store->setValue(QStringLiteral("channel.%1.devi").arg(kChannel), 60);
    QTRY_COMPARE_WITH_TIMEOUT(info->state().devi, 60, 20000);
    QCOMPARE(info->otherDeviation(), 60);
    // The light is drawn again, now with the other deviation's lamp.
    QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 20000);
    info->removeEventFilter(&paints);
    QVERIFY(info->grab().toImage() != at75);
    // Another channel's change is none of this light's business.
    store->setValue(QStringLiteral("channel.%1.devi").arg(kChannel + 1), 100);
    QCoreApplication::processEvents();
    QCOMPARE(info->otherDeviation(), 60);

    // A client sets 100 kHz and at once 75 kHz again, as the window's pages
    // take a frame's changes newest only: the light still heard the 100.
    store->setRunTimeInterval(1000, [] { return qint64(0); });
    store->setValue(QStringLiteral("channel.%1.devi").arg(kChannel), 100);
    store->setValue(QStringLiteral("channel.%1.devi").arg(kChannel), 75);
    QTRY_COMPARE_WITH_TIMEOUT(info->state().devi, 75, 20000);
    QCOMPARE(info->otherDeviation(), 100);
}

void TestFMInfo::clickWritesKey_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("r0 no pre-emphasis") << int(FMInfo::EmphNone) << "emph" << 1 << 0;
    QTest::newRow("r1 50 us") << int(FMInfo::Emph50) << "emph" << 2 << 1;
    QTest::newRow("r2 75 us") << int(FMInfo::Emph75) << "emph" << 1 << 2;
    QTest::newRow("r3 50 kHz") << int(FMInfo::Devi50) << "devi" << 75 << 50;
    QTest::newRow("r4 75 kHz") << int(FMInfo::Devi75) << "devi" << 50 << 75;
    QTest::newRow("r6 32 kHz") << int(FMInfo::Rate32) << "rate" << 44100 << 32000;
    QTest::newRow("r7 44.1 kHz") << int(FMInfo::Rate44) << "rate" << 48000 << 44100;
    QTest::newRow("r8 48 kHz") << int(FMInfo::Rate48) << "rate" << 44100 << 48000;
    QTest::newRow("r9 stereo to mono") << int(FMInfo::StereoMono) << "mono" << 0 << 1;
    QTest::newRow("a bar writes nothing") << int(FMInfo::PcmBar) << "rate" << 22050 << 22050;
}

void TestFMInfo::clickWritesKey()
{
    QFETCH(int, area);
    QFETCH(QString, key);
    QFETCH(int, before);
    QFETCH(int, after);
    auto store = openStore();
    const QString path = QStringLiteral("channel.%1.%2").arg(kChannel).arg(key);
    store->setValue(path, before);
    info->setState(store->channel(kChannel));
    QTest::mouseClick(info.get(), Qt::LeftButton, {}, centre(*info, area));
    QCOMPARE(store->value(path).toInt(), after);
}

void TestFMInfo::clickWithoutStoreOrChannel()
{
    // No store: nothing to write and no tip, but no fault either.
    QTest::mouseClick(info.get(), Qt::LeftButton, {}, centre(*info, FMInfo::StereoMono));
    QVERIFY(!info->state().mono);

    auto store = openStore();
    info->setState(ChannelConfig{});
    QTest::mouseClick(info.get(), Qt::LeftButton, {}, centre(*info, FMInfo::StereoMono));
    QVERIFY(!info->state().mono);
    QVERIFY(!store->isDirty());

    // Only the left button sets a value.
    info->setState(channel(75));
    QTest::mouseClick(info.get(), Qt::RightButton, {}, centre(*info, FMInfo::StereoMono));
    QVERIFY(!info->state().mono);
}

void TestFMInfo::shownTip_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("area");
    QTest::addColumn<QString>("tip");
    // The click flips mono at once: the tip tells the new value before the
    // store's notification arrives.
    QTest::newRow("click on stereo") << "click" << int(FMInfo::StereoMono) << "Mono";
    QTest::newRow("click on a lamp") << "click" << int(FMInfo::Devi50) << "Frequenzhub ist 75 kHz";
    QTest::newRow("pointer resting") << "help" << int(FMInfo::Emph75) << "Preemphasis ist 50µs";
    QTest::newRow("dragging") << "drag" << int(FMInfo::Rate48) << "Samplerate ist 44.1 kHz";
}

void TestFMInfo::shownTip()
{
    QFETCH(QString, how);
    QFETCH(int, area);
    QFETCH(QString, tip);
    auto store = openStore();
    info->setState(store->channel(kChannel));
    QToolTip::hideText();
    const QPoint at = centre(*info, area);
    if (how == QLatin1String("click")) {
        QTest::mouseClick(info.get(), Qt::LeftButton, {}, at);
    } else if (how == QLatin1String("help")) {
        QHelpEvent help(QEvent::ToolTip, at, info->mapToGlobal(at));
        QApplication::sendEvent(info.get(), &help);
    } else {
        QMouseEvent move(QEvent::MouseMove, at, info->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(info.get(), &move);
    }
    QCOMPARE(QToolTip::text(), kPrefix + tip);
}

void TestFMInfo::toolTips_data()
{
    QTest::addColumn<LightInput>("input");
    QTest::addColumn<int>("area");
    QTest::addColumn<QString>("tip");

    LightInput plain;
    plain.config = channel(75);
    const auto with = [&](auto change) {
        LightInput input = plain;
        change(input);
        return QVariant::fromValue(input);
    };
    const auto row = [](const char* name, const QVariant& input, int area, const QString& tip) {
        QTest::newRow(name) << input.value<LightInput>() << area << tip;
    };

    row("no pre-emphasis", with([](LightInput& i) { i.config.emph = 0; }), FMInfo::Emph75,
        "keine Preemphasis");
    row("50 us", with([](LightInput&) {}), FMInfo::EmphNone, "Preemphasis ist 50µs");
    row("75 us", with([](LightInput& i) { i.config.emph = 2; }), FMInfo::Emph50,
        "Preemphasis ist 75µs");
    row("deviation", with([](LightInput& i) { i.config.devi = 60; }), FMInfo::Devi50,
        "Frequenzhub ist 60 kHz");
    row("a file playing another rate",
        with([](LightInput& i) { i.audioType = 2, i.playRate = 48000; }), FMInfo::Rate32,
        "Samplerate ist 44.1 kHz statt 48 kHz");
    row("a file playing the set rate",
        with([](LightInput& i) { i.audioType = 2, i.playRate = 44100; }), FMInfo::Rate44,
        "Samplerate ist 44.1 kHz");
    row("a sine has no song rate", with([](LightInput& i) { i.playRate = 48000; }), FMInfo::Rate48,
        "Samplerate ist 44.1 kHz");
    row("an odd rate", with([](LightInput& i) { i.config.rate = 22050; }), FMInfo::Rate44,
        "Samplerate ist 22.05 kHz");
    row("stereo", with([](LightInput&) {}), FMInfo::StereoMono, "Stereo");
    row("mono", with([](LightInput& i) { i.config.mono = true; }), FMInfo::StereoMono, "Mono");
    row("PCM before the board reports", with([](LightInput& i) { i.status.pcmFill = 10; }),
        FMInfo::PcmBar, "PCM FIFO");
    row("PCM at 40 %", with([](LightInput& i) {
            i.pcmCapacity = 1000, i.status.pcmFill = 400, i.status.pcmRate = 44099.7;
        }),
        FMInfo::PcmBar, "PCM FIFO @ 40%\n~44099 Hz");
    row("PCM rate off", with([](LightInput& i) {
            i.pcmCapacity = 1000, i.status.pcmFill = 400, i.status.pcmRate = 40000;
            i.status.flags = ChannelStatus::kPcmRateOff, i.playRate = 48000;
        }),
        FMInfo::PcmBar, "PCM FIFO @ 40%\n~40000 Hz, should be ~48000");
    row("PCM empty", with([](LightInput& i) { i.pcmCapacity = 1000; }), FMInfo::PcmBar,
        "PCM FIFO @ 0%\n");
    row("PCM underflow", with([](LightInput& i) { i.pcmCapacity = 1000, i.status.flags = 1; }),
        FMInfo::PcmBar, "PCM FIFO underflow");
    row("PCM overflow", with([](LightInput& i) { i.pcmCapacity = 1000, i.status.flags = 2; }),
        FMInfo::PcmBar, "PCM FIFO overflow");
    row("RDS before the board reports", with([](LightInput&) {}), FMInfo::RdsBar, "RDS FIFO");
    row("RDS at half", with([](LightInput& i) {
            i.rdsCapacity = 200, i.status.rdsFill = 100, i.status.rdsRate = 74.2;
        }),
        FMInfo::RdsBar, "RDS FIFO @ 50%\n~1187 bit/s");
    row("RDS rate off", with([](LightInput& i) {
            i.rdsCapacity = 200, i.status.rdsFill = 100, i.status.rdsRate = 50;
            i.status.flags = ChannelStatus::kRdsRateOff;
        }),
        FMInfo::RdsBar, "RDS FIFO @ 50%\n~800 bit/s, should be ~1187");
    row("RDS underflow", with([](LightInput& i) { i.rdsCapacity = 200, i.status.flags = 4; }),
        FMInfo::RdsBar, "RDS FIFO underflow");
    row("RDS overflow", with([](LightInput& i) { i.rdsCapacity = 200, i.status.flags = 8; }),
        FMInfo::RdsBar, "RDS FIFO overflow");
    row("power above 10 dB", with([](LightInput& i) { i.status.power = 12; }), FMInfo::PowerBar,
        "Multiplex Power: +12.0 dB");
    row("power below 0 dB", with([](LightInput& i) { i.status.power = -3.5; }), FMInfo::PowerBar,
        "Multiplex Power: -3.5 dB");
    row("clipping", with([](LightInput& i) { i.status.flags = 0x20; }), FMInfo::PowerBar,
        "Clipping!\nMultiplex Power: +0.0 dB");
    row("outside every area", with([](LightInput&) {}), -1, QString());
}

void TestFMInfo::toolTips()
{
    QFETCH(LightInput, input);
    QFETCH(int, area);
    QFETCH(QString, tip);
    setInput(input);
    const QPoint at = area < 0 ? QPoint(1, 1) : centre(*info, area);
    QCOMPARE(info->toolTipText(at), tip.isEmpty() ? QString() : kPrefix + tip);
}

void TestFMInfo::statusChangingOnlyRatesIsIgnored()
{
    BoardInfo board;
    board.pcmCapacity = 1000;
    info->setBoardInfo(board);
    ChannelStatus status;
    status.pcmFill = 400;
    status.pcmRate = 44000;
    info->setStatus(status);
    status.pcmRate = 30000;
    status.rdsRate = 10;
    info->setStatus(status);
    const QPoint bar = centre(*info, FMInfo::PcmBar);
    QCOMPARE(info->toolTipText(bar), kPrefix + "PCM FIFO @ 40%\n~44000 Hz");
    status.pcmFill = 500;
    info->setStatus(status);
    QCOMPARE(info->toolTipText(bar), kPrefix + "PCM FIFO @ 50%\n~30000 Hz");
}

void TestFMInfo::fileRateBlinks_data()
{
    QTest::addColumn<int>("secondsLater");
    QTest::addColumn<bool>("yellow");
    QTest::newRow("right after the change") << 0 << true;
    QTest::newRow("an odd second within two") << 1 << true;
    QTest::newRow("an even second") << 2 << true;
    QTest::newRow("an odd second from two on") << 3 << false;
    QTest::newRow("later, odd") << 121 << false;
    QTest::newRow("later, even") << 122 << true;
}

// rate 44100 set, a file of 48 kHz playing: 44.1 is lit, 48 is yellow and
// blinks once the change is two seconds old.
void TestFMInfo::fileRateBlinks()
{
    QFETCH(int, secondsLater);
    QFETCH(bool, yellow);
    info->setAudioType(2);
    info->setRate(44100);
    info->setPlayRate(48000);
    now += secondsLater;
    const QImage image = info->grab().toImage();
    QVERIFY(isGreen(lampColour(image, *info, FMInfo::Rate44)));
    QVERIFY(isDark(lampColour(image, *info, FMInfo::Rate32)));
    const QColor fileLamp = lampColour(image, *info, FMInfo::Rate48);
    QVERIFY2(yellow ? isYellow(fileLamp) : isDark(fileLamp), qPrintable(fileLamp.name()));
    // The rows above: 50 us and 75 kHz lit.
    QVERIFY(isGreen(lampColour(image, *info, FMInfo::Emph50)));
    QVERIFY(isDark(lampColour(image, *info, FMInfo::EmphNone)));
    QVERIFY(isGreen(lampColour(image, *info, FMInfo::Devi75)));
    QVERIFY(isDark(lampColour(image, *info, FMInfo::DeviOther)));
}

void TestFMInfo::bars_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("rows");
    // (bar height 26 - 3) x min(1, fill x 1.25)
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("40 % shows half") << 40 << 11;
    QTest::newRow("80 % shows all") << 80 << 23;
    QTest::newRow("full shows all") << 100 << 23;
}

void TestFMInfo::bars()
{
    QFETCH(int, percent);
    QFETCH(int, rows);
    BoardInfo board;
    board.pcmCapacity = 1000;
    board.rdsCapacity = 200;
    info->setBoardInfo(board);
    ChannelStatus status;
    status.pcmFill = quint16(10 * percent);
    status.rdsFill = quint16(2 * percent);
    info->setStatus(status);
    const QImage image = info->grab().toImage();
    const QRect pcm = info->area(FMInfo::PcmBar);
    const QRect rds = info->area(FMInfo::RdsBar);
    QCOMPARE(barRows(image, pcm.center().x()), rows);
    QCOMPARE(barRows(image, rds.center().x()), rows);
}

// +-10 dB reach half the bar; more is drawn as 10 dB.
void TestFMInfo::powerBeyondTenDbIsClamped()
{
    ChannelStatus status;
    status.power = 10;
    info->setStatus(status);
    const QImage ten = info->grab().toImage();
    status.power = 12;
    info->setStatus(status);
    const QImage twelve = info->grab().toImage();
    QCOMPARE(twelve, ten);
    const int column = info->area(FMInfo::PowerBar).center().x();
    const int mid = kHeight - (kHeight - 4 * 16 - 10) / 2;
    QVERIFY(painted(ten.pixelColor(column, mid - 13)));
    QVERIFY(!painted(ten.pixelColor(column, mid - 14)));
    status.power = -12;
    info->setStatus(status);
    const QImage below = info->grab().toImage();
    QVERIFY(painted(below.pixelColor(column, mid + 12)));
    QVERIFY(!painted(below.pixelColor(column, mid - 1)));
}

void TestFMInfo::alarmLamps_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("pcm");
    QTest::addColumn<bool>("rds");
    QTest::addColumn<bool>("clipping");
    QTest::newRow("none") << 0 << false << false << false;
    QTest::newRow("PCM underflow") << 0x1 << true << false << false;
    QTest::newRow("PCM overflow") << 0x2 << true << false << false;
    QTest::newRow("RDS underflow") << 0x4 << false << true << false;
    QTest::newRow("RDS overflow") << 0x8 << false << true << false;
    QTest::newRow("clipping") << 0x40 << false << false << true;
    QTest::newRow("rates off light nothing") << 0x300 << false << false << false;
}

void TestFMInfo::alarmLamps()
{
    QFETCH(int, flags);
    QFETCH(bool, pcm);
    QFETCH(bool, rds);
    QFETCH(bool, clipping);
    ChannelStatus status;
    status.flags = quint16(flags);
    status.power = std::numeric_limits<double>::quiet_NaN();
    info->setStatus(status);
    const QImage image = info->grab().toImage();
    const int d = 16;
    const int x0 = 4;
    const int row = kHeight - 1 - d / 2 + 2;
    QCOMPARE(isRed(image.pixelColor(x0 + 1 + d / 2 + 2, row)), pcm);
    QCOMPARE(isRed(image.pixelColor(x0 + d + 2 + d / 2 + 2, row)), rds);
    QCOMPARE(isRed(image.pixelColor(x0 + 2 * d + 3 + d / 2 + 2, row)), clipping);
}

// A report repaints the bars' part of the light only: what the screen
// then shows is what painting the whole light shows, lamps included.
void TestFMInfo::reportRepaintsAsAWholePaintWould()
{
    LightInput input;
    input.config = channel(60);
    input.config.mono = true;
    input.pcmCapacity = 1000;
    input.rdsCapacity = 1000;
    input.status.pcmFill = 100;
    input.status.rdsFill = 50;
    input.status.power = -3.0;
    setInput(input);
    const auto onScreen = [this] {
        return info->screen()
            ->grabWindow(info->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto whole = [this] {
        return info->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    QTRY_COMPARE_WITH_TIMEOUT(onScreen(), whole(), 20000);

    ChannelStatus report;
    report.pcmFill = 180;
    report.rdsFill = 20;
    report.power = 4.5;
    report.flags = 0x1 | 0x40 | 0x200;
    const QImage before = whole();
    PaintCounter paints;
    info->installEventFilter(&paints);
    info->setStatus(report);
    QVERIFY(whole() != before);
    // Compared right after the report's own repaint: a later one of the whole
    // light would hide what it left out.
    paints.count = 0;
    QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 20000);
    info->removeEventFilter(&paints);
    QCOMPARE(onScreen(), whole());
}

QTEST_MAIN(TestFMInfo)
#include "tst_fminfo.moc"
