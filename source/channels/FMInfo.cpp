#include "channels/FMInfo.h"

#include "settings/FMSettings.h"
#include "settings/SetHandler.h"

#include <QDateTime>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Repaints the light now and then, so the file-rate lamps blink without any
// change arriving.
constexpr int kRepaintMs = 3000;
// A rate change is shown steadily this long before the file-rate lamp blinks.
constexpr quint32 kSteadySeconds = 2;

constexpr quint16 kPcmUnderflow = 0x0001;
constexpr quint16 kPcmOverflow = 0x0002;
constexpr quint16 kPcmAlarm = kPcmUnderflow | kPcmOverflow;
constexpr quint16 kRdsUnderflow = 0x0004;
constexpr quint16 kRdsOverflow = 0x0008;
constexpr quint16 kRdsAlarm = kRdsUnderflow | kRdsOverflow;
constexpr quint16 kClipping = 0x0070;

constexpr int kRate32 = 32000;
constexpr int kRate44 = 44100;
constexpr int kRate48 = 48000;
constexpr int kDevi50 = 50;
constexpr int kDevi75 = 75;

// +-10 dB reach half the bar height.
constexpr double kPowerLimitDb = 10.0;
constexpr double kPowerScale = 0.05;
// A buffer at 80 % fill shows a full bar.
constexpr double kFillScale = 5 * 0.25;
// The board's RDS words are 16 bits; the nominal stream is 1187.5 bit/s.
constexpr int kBitsPerRdsWord = 16;

const QString kTipPrefix = QStringLiteral("<p style='white-space:pre'>");

FMInfo::Clock& secondsClock()
{
    static FMInfo::Clock now = [] { return QDateTime::currentSecsSinceEpoch(); };
    return now;
}

QRect inclusive(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// A 1 px outline covering exactly the columns and rows given.
QRect outline(int left, int top, int right, int bottom)
{
    return inclusive(left, top, right - 1, bottom - 1);
}

QGradientStops lampStops(FMInfo::Lamp lamp)
{
    switch (lamp) {
    case FMInfo::Lamp::Green:
        return {{0, QColor(0xc0, 0xff, 0xc0)},
                {0.5, QColor(0x20, 0xff, 0x20)},
                {1, QColor(0x10, 0x80, 0x10)}};
    case FMInfo::Lamp::Red:
        return {{0, QColor(0xff, 0xc0, 0xc0)},
                {0.5, QColor(0xff, 0x20, 0x20)},
                {1, QColor(0x80, 0x10, 0x10)}};
    case FMInfo::Lamp::Yellow:
        return {{0, Qt::white}, {0.5, QColor(0xd0, 0xd0, 0x20)}, {1, QColor(0x60, 0x60, 0x10)}};
    case FMInfo::Lamp::Dark:
        break;
    }
    return {{0, QColor(0x30, 0x30, 0x30)}, {0.5, QColor(0x20, 0x20, 0x20)}, {1, Qt::black}};
}

FMInfo::Lamp lit(bool on)
{
    return on ? FMInfo::Lamp::Green : FMInfo::Lamp::Dark;
}

} // namespace

FMInfo::FMInfo(QWidget* parent) : QWidget(parent), repaintTimer(new QTimer(this))
{
    installEventFilter(new SetHandler(this));
    connect(repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    repaintTimer->start(kRepaintMs);
}

FMInfo::~FMInfo()
{
    if (store)
        store->unsubscribeAll(this);
}

void FMInfo::setClock(Clock now)
{
    secondsClock() = now ? std::move(now) : [] { return QDateTime::currentSecsSinceEpoch(); };
}

// --- what the strip hands in

void FMInfo::setStore(QSharedPointer<FMSettings> settings)
{
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    if (!store)
        return;
    store->subscribe(QStringLiteral("channel.%1").arg(config.channel), this);
    // The light recalls the last deviation other than 50 and 75 kHz: it
    // hears every change of its channel, not only the newest of a frame, in
    // the delivery the event log has in the next pass.
    store->skipRunTimeValues(this);
}

void FMInfo::setState(const ChannelConfig& channel)
{
    takeRecord(channel);
    update();
}

// A key of the record is taken alone from its notification, not the whole
// record read again.
void FMInfo::notify(SetValue* event)
{
    if (!store)
        return;
    const QString& key = event->key;
    const QStringView name = QStringView(key).sliced(key.lastIndexOf(QLatin1Char('/')) + 1);
    ChannelConfig changed = config;
    if (!FMSettings::takeChannelField(config.channel, name, event->value, changed))
        changed = store->channel(config.channel);
    // A client setting the gain line after line changes nothing drawn here.
    const auto drawn = [this] {
        return std::tuple(config.emph, config.devi, config.rate, config.mono);
    };
    const auto before = drawn();
    takeRecord(changed);
    if (drawn() != before)
        update();
}

// The third deviation lamp recalls the last deviation other than 50 and
// 75 kHz, or the first one ever seen.
void FMInfo::takeRecord(const ChannelConfig& channel)
{
    config = channel;
    const int devi = channel.devi;
    if (otherDevi == 0 || (devi != kDevi75 && devi != kDevi50))
        otherDevi = devi;
}

// The rates are measured anew with every report; only a change of what the
// light shows is worth a repaint.
void FMInfo::setStatus(const ChannelStatus& channelStatus)
{
    if (channelStatus.pcmFill == status.pcmFill && channelStatus.power == status.power &&
        channelStatus.rdsFill == status.rdsFill && channelStatus.flags == status.flags)
        return;
    status = channelStatus;
    // Reports come several times a second on every channel; the lamps above
    // the bars stay as they are.
    update(statusArea());
}

// The bars, their rate frames and the alarm lamps: everything a report
// changes, below the stereo lamp.
QRect FMInfo::statusArea() const
{
    const int top = statusTop(geometry());
    return QRect(0, top, width(), height() - top);
}

int FMInfo::statusTop(const Geometry& g)
{
    // The stereo lamp's outline reaches 4 d + 7.
    return 4 * g.d + 8;
}

void FMInfo::setBoardInfo(const BoardInfo& info)
{
    boardInfo = info;
    update();
}

void FMInfo::setAudioType(int type)
{
    audioType = type;
    update();
}

void FMInfo::setPlayRate(unsigned hz)
{
    playRate = hz;
    stampNow();
    update();
}

void FMInfo::setRate(unsigned hz)
{
    config.rate = qint32(hz);
    stampNow();
    update();
}

void FMInfo::stampNow()
{
    stamp = quint32(secondsClock()());
}

// --- areas

FMInfo::Geometry FMInfo::geometry() const
{
    Geometry g;
    g.d = std::min((width() - 4) / 3, (height() - 1) / 6);
    g.x0 = (width() - 4 - 3 * g.d) / 2;
    return g;
}

QRect FMInfo::area(int index) const
{
    const auto [d, x0] = geometry();
    const int w = width();
    const int h = height();
    if (index >= EmphNone && index <= Rate48) {
        const int column = index % 3;
        const int row = index / 3;
        const int left = x0 + 1 + column * (d + 1);
        const int top = 2 + row * (d + 1);
        return inclusive(left, top, left + d - 1, top + d - 1);
    }
    switch (index) {
    case StereoMono:
        return inclusive(x0, 3 * d + 7, w - x0 - 2, 4 * d + 6);
    case PcmBar:
        return inclusive(x0, 4 * d + 9, x0 + d, h - 2);
    case RdsBar:
        return inclusive(x0 + d + 1, 4 * d + 9, x0 + 2 * d + 1, h - 2);
    case PowerBar:
        return inclusive(x0 + 2 * d + 2, 4 * d + 9, x0 + 3 * d + 1, h - 2);
    default:
        return {};
    }
}

int FMInfo::hitArea(const QPoint& position) const
{
    for (int index = 0; index < kAreaCount; ++index) {
        if (area(index).contains(position))
            return index;
    }
    return -1;
}

// --- mouse and tool tip

bool FMInfo::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        showTip(help->pos(), help->globalPos());
    }
    return QWidget::event(event);
}

void FMInfo::mousePressEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || !store || config.channel == 0)
        return;
    const QPoint local = event->position().toPoint();
    click(hitArea(local));
    showTip(local, event->globalPosition().toPoint());
}

void FMInfo::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        showTip(event->position().toPoint(), event->globalPosition().toPoint());
}

void FMInfo::click(int index)
{
    static const int kEmphasis[] = {0, 1, 2};
    static const int kRates[] = {kRate32, kRate44, kRate48};
    if (index >= EmphNone && index <= Emph75) {
        writeKey("emph", kEmphasis[index - EmphNone]);
    } else if (index >= Devi50 && index <= DeviOther) {
        const int deviations[] = {kDevi50, kDevi75, otherDevi};
        writeKey("devi", deviations[index - Devi50]);
    } else if (index >= Rate32 && index <= Rate48) {
        writeKey("rate", kRates[index - Rate32]);
    } else if (index == StereoMono) {
        config.mono = !config.mono;
        writeKey("mono", config.mono ? 1 : 0);
    }
}

// The light hears its own change back through notify().
void FMInfo::writeKey(const char* name, int value)
{
    const QString key =
        QStringLiteral("channel.%1.%2").arg(config.channel).arg(QLatin1String(name));
    store->setValue(key, value, true, nullptr);
}

void FMInfo::showTip(const QPoint& local, const QPoint& global) const
{
    QToolTip::showText(global, toolTipText(local), nullptr, QRect());
}

QString FMInfo::toolTipText(const QPoint& position) const
{
    QString text;
    switch (hitArea(position)) {
    case EmphNone:
    case Emph50:
    case Emph75:
        text = emphasisTip();
        break;
    case Devi50:
    case Devi75:
    case DeviOther:
        text = tr("Frequenzhub ist %1 kHz").arg(config.devi);
        break;
    case Rate32:
    case Rate44:
    case Rate48:
        text = rateTip();
        break;
    case StereoMono:
        text = config.mono ? QStringLiteral("Mono") : QStringLiteral("Stereo");
        break;
    case PcmBar:
        text = pcmTip();
        break;
    case RdsBar:
        text = rdsTip();
        break;
    case PowerBar:
        text = powerTip();
        break;
    default:
        return {};
    }
    return kTipPrefix + text;
}

QString FMInfo::emphasisTip() const
{
    if (config.emph == 1)
        return tr("Preemphasis ist 50µs");
    if (config.emph == 2)
        return tr("Preemphasis ist 75µs");
    return tr("keine Preemphasis");
}

QString FMInfo::rateTip() const
{
    QString text = tr("Samplerate ist %1 kHz").arg(config.rate * 0.001, 0, 'g');
    if (audioType == 2 && playRate != 0 && playRate != quint32(config.rate))
        text += tr(" statt %1 kHz").arg(playRate * 0.001, 0, 'g');
    return text;
}

QString FMInfo::pcmTip() const
{
    if (status.flags & kPcmUnderflow)
        return QStringLiteral("PCM FIFO underflow");
    if (status.flags & kPcmOverflow)
        return QStringLiteral("PCM FIFO overflow");
    if (boardInfo.pcmCapacity == 0)
        return QStringLiteral("PCM FIFO");
    QString text = QStringLiteral("PCM FIFO @ %1%\n")
                       .arg(status.pcmFill * 100.0 / boardInfo.pcmCapacity, 0, 'f', 0);
    if (status.pcmFill != 0)
        text += QStringLiteral("~%1 Hz").arg(qint64(status.pcmRate));
    if (status.flags & ChannelStatus::kPcmRateOff)
        text += QStringLiteral(", should be ~%1").arg(playRate);
    return text;
}

QString FMInfo::rdsTip() const
{
    if (status.flags & kRdsUnderflow)
        return QStringLiteral("RDS FIFO underflow");
    if (status.flags & kRdsOverflow)
        return QStringLiteral("RDS FIFO overflow");
    if (boardInfo.rdsCapacity == 0)
        return QStringLiteral("RDS FIFO");
    QString text = QStringLiteral("RDS FIFO @ %1%\n")
                       .arg(status.rdsFill * 100.0 / boardInfo.rdsCapacity, 0, 'f', 0);
    if (status.rdsFill != 0)
        text += QStringLiteral("~%1 bit/s").arg(qint64(status.rdsRate * kBitsPerRdsWord));
    if (status.flags & ChannelStatus::kRdsRateOff)
        text += QStringLiteral(", should be ~1187");
    return text;
}

QString FMInfo::powerTip() const
{
    QString text;
    if (status.flags & kClipping)
        text = QStringLiteral("Clipping!\n");
    text += QStringLiteral("Multiplex Power: ");
    const QString value = QString::number(status.power, 'f', 1);
    text += status.power >= 0 ? QStringLiteral("+%1 dB").arg(value)
                              : QStringLiteral("%1 dB").arg(value);
    return text;
}

// --- painting

void FMInfo::drawLed(QPainter& painter, const QRect& rect, int d, Lamp lamp)
{
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.right();
    const int b = rect.bottom();
    QRadialGradient gradient(QPointF((l + r) / 2, (t + b) / 2), d / 2,
                             QPointF((l + r - 2) / 2, (t + b - 2) / 2));
    gradient.setStops(lampStops(lamp));
    painter.setBrush(gradient);
    painter.drawEllipse(rect);
}

void FMInfo::paintEvent(QPaintEvent* event)
{
    const Geometry g = geometry();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintBackground(painter, g);

    // A report repaints the bars only: the lamps' gradients are the costly
    // part of the light, and they would all be clipped away.
    if (event->rect().top() < statusTop(g)) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        const qint64 now = secondsClock()();
        const bool blinkDark = quint32(now) - stamp >= kSteadySeconds && (now & 1) != 0;
        painter.setPen(Qt::NoPen);
        paintLamps(painter, g.d, blinkDark ? Lamp::Dark : Lamp::Yellow);
        paintStereo(painter, g);
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    if (!std::isnan(status.power))
        paintPowerBar(painter, g);
    paintBufferBars(painter, g);
    paintRateFrames(painter, g);
    paintAlarms(painter, g);
}

void FMInfo::paintBackground(QPainter& painter, const Geometry& g)
{
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, QColor(0x30, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRect(inclusive(g.x0, 0, g.x0 + 3 * g.d + 2, height() - 2));
}

void FMInfo::paintLamps(QPainter& painter, int d, Lamp fileLamp)
{
    drawLed(painter, area(EmphNone), d, lit(config.emph == 0));
    drawLed(painter, area(Emph50), d, lit(config.emph == 1));
    drawLed(painter, area(Emph75), d, lit(config.emph == 2));
    const bool devi50 = config.devi == kDevi50;
    const bool devi75 = config.devi == kDevi75;
    drawLed(painter, area(Devi50), d, lit(devi50));
    drawLed(painter, area(Devi75), d, lit(devi75));
    drawLed(painter, area(DeviOther), d, lit(!devi50 && !devi75));
    paintRateRow(painter, d, fileLamp);
}

// While a file plays, a lamp the channel is not set to turns yellow for the
// rate of the song.
void FMInfo::paintRateRow(QPainter& painter, int d, Lamp fileLamp)
{
    const bool file = audioType == 2;
    const bool set32 = config.rate == kRate32;
    const bool set48 = config.rate == kRate48;
    const bool set44 = !set32 && !set48;
    const struct
    {
        int index;
        bool set;
        quint32 songRate;
    } lamps[] = {{Rate32, set32, kRate32}, {Rate44, set44, kRate44}, {Rate48, set48, kRate48}};
    for (const auto& lamp : lamps) {
        Lamp look = lit(lamp.set);
        if (!lamp.set && file && playRate == lamp.songRate)
            look = fileLamp;
        drawLed(painter, area(lamp.index), d, look);
    }
}

void FMInfo::paintStereo(QPainter& painter, const Geometry& g)
{
    const auto [d, x0] = g;
    QPen pen(Qt::lightGray, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int top = 3 * d + 7;
    const int bottom = 4 * d + 6;
    if (config.mono) {
        painter.drawEllipse(inclusive(x0 + d + 2, top, x0 + 2 * d + 1, bottom));
        return;
    }
    const int first = int(0.7 * d + x0 + 2.0);
    const int second = int(1.3 * d + x0 + 2.0);
    painter.drawEllipse(inclusive(first, top, first + d - 1, bottom));
    painter.drawEllipse(inclusive(second, top, second + d - 1, bottom));
}

void FMInfo::paintPowerBar(QPainter& painter, const Geometry& g)
{
    const auto [d, x0] = g;
    const int h = height();
    const int barHeight = h - 4 * d - 10;
    QLinearGradient gradient(0, 4 * d + 9, 0, h - 1);
    gradient.setColorAt(0, Qt::red);
    gradient.setColorAt(0.5, QColor(0x80, 0xa0, 0x80));
    gradient.setColorAt(1, Qt::blue);
    const double p = std::clamp(status.power, -kPowerLimitDb, kPowerLimitDb);
    const int mid = h - barHeight / 2;
    const int t = int(kPowerScale * barHeight * p);
    const int left = x0 + 2 * d + 3;
    const int right = x0 + 3 * d + 1;
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    if (t > 0)
        painter.drawRect(inclusive(left, mid - t, right, mid - 1));
    else if (t < 0)
        painter.drawRect(inclusive(left, mid, right, mid - t - 1));
    painter.setPen(QColor(0x20, 0x50, 0x20));
    painter.drawLine(left, mid, right, mid);
}

void FMInfo::paintBufferBars(QPainter& painter, const Geometry& g)
{
    // Plain names, not a structured binding: the bar lambda captures d,
    // which clang 14 does not allow for bindings.
    const int d = g.d;
    const int x0 = g.x0;
    const int h = height();
    const int barHeight = h - 4 * d - 10;
    QLinearGradient gradient(0, h - 2, 0, 4 * d + 12);
    gradient.setColorAt(0, Qt::red);
    gradient.setColorAt(0.5, QColor(0x60, 0x60, 0x20));
    gradient.setColorAt(1, QColor(0x40, 0xc0, 0x40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    const auto bar = [&](quint32 fill, quint32 capacity, int left) {
        if (capacity == 0)
            return;
        const double f = std::min(1.0, double(fill) / capacity * kFillScale);
        const int rows = int((barHeight - 3) * f);
        if (rows > 0)
            painter.drawRect(inclusive(left, h - 1 - rows, left + d - 1, h - 2));
    };
    bar(status.pcmFill, boardInfo.pcmCapacity, x0 + 1);
    bar(status.rdsFill, boardInfo.rdsCapacity, x0 + d + 2);
}

void FMInfo::paintRateFrames(QPainter& painter, const Geometry& g)
{
    const auto [d, x0] = g;
    const int h = height();
    painter.setPen(Qt::yellow);
    painter.setBrush(Qt::NoBrush);
    if (status.pcmFill != 0 && (status.flags & ChannelStatus::kPcmRateOff))
        painter.drawRect(outline(x0 + 1, 4 * d + 10, x0 + d, h - 2));
    if (status.rdsFill != 0 && (status.flags & ChannelStatus::kRdsRateOff))
        painter.drawRect(outline(x0 + d + 2, 4 * d + 10, x0 + 2 * d + 1, h - 2));
}

void FMInfo::paintAlarms(QPainter& painter, const Geometry& g)
{
    const auto [d, x0] = g;
    const int h = height();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::darkGray);
    const struct
    {
        quint16 mask;
        int left;
    } alarms[] = {{kPcmAlarm, x0 + 1}, {kRdsAlarm, x0 + d + 2}, {kClipping, x0 + 2 * d + 3}};
    for (const auto& alarm : alarms) {
        if (status.flags & alarm.mask)
            drawLed(painter, inclusive(alarm.left, h - 1 - d, alarm.left + d - 1, h - 2), d,
                    Lamp::Red);
    }
}
