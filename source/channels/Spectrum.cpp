#include "channels/Spectrum.h"

#include "settings/SetHandler.h"
#include "settings/SetValue.h"
#include "settings/Settings.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kNoNeighbour = 100.0; // MHz: far from any other carrier
constexpr double kPixelsPerMHz = 10.0;
constexpr double kWideDistance = 0.3;  // MHz
constexpr double kCloseDistance = 0.2; // MHz
constexpr double kMinimumGainDb = -60.0;
constexpr double kMarkPerProduct = 0.4; // px

constexpr QRgb kFrame = 0x363636;
constexpr QRgb kGround = 0x101010;
constexpr QRgb kHatch = 0x504040;
constexpr QRgb kLabel = 0x404040;
constexpr QRgb kAttenuation = 0xc02020;
constexpr QRgb kProduct = 0x804040;
constexpr QRgb kWide = 0x60e060;
constexpr QRgb kNear = 0xb0b020;
constexpr QRgb kClose = 0xa04040;
constexpr QRgb kHit = 0xc01010;

// Frequencies in 10 kHz steps, rounded half away from zero.
int tenKilohertz(double mhz)
{
    return int(std::lround(100.0 * mhz));
}

QRect inclusive(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

Spectrum::Spectrum(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("spectrum"));
    dist.fill(kNoNeighbour);
    installEventFilter(new SetHandler(this));
    setFixedWidth(int(scaleSpan * kPixelsPerMHz + 1.0));
}

Spectrum::~Spectrum()
{
    qDebug("~Spectrum");
}

void Spectrum::setChannel(const ChannelConfig& config)
{
    if (config.channel < 1 || config.channel > kChannels)
        return;
    channels[config.channel - 1] = config;
    channelsChanged();
    update();
}

void Spectrum::setChannelCount(int n)
{
    count = std::min(n, kChannels);
    channelsChanged();
    update();
}

void Spectrum::setBand(int band, int attenuationDb)
{
    switch (band) {
    case 2:
        bandMin = 76.0;
        bandMax = 108.0;
        break;
    case 1:
        bandMin = 76.0;
        bandMax = 95.0;
        break;
    default:
        bandMin = 87.5;
        bandMax = 108.0;
        break;
    }
    attenuation = attenuationDb;
    setToolTip(
        QStringLiteral("FM-Band\n%1 - %2 MHz").arg(bandMin, 0, 'f', 1).arg(bandMax, 0, 'f', 1));
    update();
}

void Spectrum::setOnAir(bool on)
{
    onAir = on;
    update();
}

void Spectrum::notify(SetValue* event)
{
    QString head;
    QString tail;
    const QList<int> instances = Settings::parseKey(event->key, head, tail);
    if (instances.isEmpty())
        return;
    if (head.startsWith(QLatin1String("chinfo")) && !tail.endsWith(QLatin1String("/dist")))
        return;
    for (int n : instances) {
        if (n < 1 || n > kChannels)
            break;
        ChannelConfig& channel = channels[n - 1];
        if (tail == QLatin1String("/dist")) {
            dist[n - 1] = event->value.toDouble();
        } else if (tail == QLatin1String("/freq")) {
            channel.freq = event->value.toDouble();
            channelsChanged();
        } else if (tail == QLatin1String("/used")) {
            channel.used = event->value.toBool();
            channelsChanged();
        } else if (tail == QLatin1String("/gain")) {
            channel.gain = qint8(event->value.toInt());
        } else {
            return;
        }
    }
    update();
}

void Spectrum::mouseDoubleClickEvent(QMouseEvent*)
{
    showIntermod = !showIntermod;
    update();
}

void Spectrum::channelsChanged()
{
    intermodStale = true;
}

const QMap<int, int>& Spectrum::intermodulation()
{
    if (intermodStale)
        recount();
    return intermod;
}

// Every unordered pair of used carriers, a carrier with itself included,
// against every third used carrier: f_i + f_j - f_k.
void Spectrum::recount()
{
    intermod.clear();
    intermodStale = false;
    std::vector<int> used;
    for (int i = 0; i < count; ++i) {
        if (channels[i].used)
            used.push_back(i);
    }
    for (size_t a = 0; a < used.size(); ++a) {
        for (size_t b = a; b < used.size(); ++b) {
            const int pair =
                tenKilohertz(channels[used[a]].freq) + tenKilohertz(channels[used[b]].freq);
            for (size_t c = 0; c < used.size(); ++c) {
                if (c != a && c != b)
                    ++intermod[pair - tenKilohertz(channels[used[c]].freq)];
            }
        }
    }
}

int Spectrum::xOf(double mhz) const
{
    return int(std::lround((mhz - scaleMin) / scaleSpan * (width() - 1)));
}

void Spectrum::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintScale(painter);
    paintLabels(painter);
    if (!onAir)
        return;
    intermodulation();
    if (showIntermod)
        paintIntermod(painter);
    paintChannels(painter);
}

void Spectrum::paintScale(QPainter& painter)
{
    const int w1 = width() - 1;
    const int h1 = height() - 1;
    painter.setPen(QColor(kFrame));
    painter.setBrush(QColor(kGround));
    painter.drawRect(inclusive(0, 0, w1 - 1, h1 - 1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(QColor(kHatch), Qt::DiagCrossPattern));
    painter.drawRect(inclusive(1, 1, xOf(bandMin), h1 - 1));
    painter.drawRect(inclusive(xOf(bandMax), 1, w1 - 1, h1 - 1));
    painter.setPen(QColor(kHatch));
    painter.drawLine(xOf(bandMax), 0, xOf(bandMax), h1);
}

void Spectrum::paintLabels(QPainter& painter)
{
    const int w1 = width() - 1;
    const int h1 = height() - 1;
    QFont font = painter.font();
    font.setPixelSize(std::max(1, (3 * h1) / 4));
    font.setWeight(QFont::Bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    painter.setFont(font);
    painter.setPen(QColor(kLabel));
    const QRect whole = inclusive(1, 0, w1, h1 + 1);
    const double scaleMax = scaleMin + scaleSpan;
    const QString mhz = QStringLiteral("MHz");
    painter.drawText(whole, Qt::AlignLeft | Qt::AlignVCenter, QString::number(scaleMin, 'g', 6));
    painter.drawText(whole, Qt::AlignRight | Qt::AlignVCenter, QString::number(scaleMax, 'g', 6));
    if (bandMin != scaleMin) {
        const QRect inside = inclusive(xOf(bandMin), 0, w1 - 1, h1 + 1);
        painter.drawText(inside, Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(bandMin, 'g', 6));
        painter.drawText(inside, Qt::AlignCenter, mhz);
    } else if (bandMax != scaleMax) {
        const QRect inside = inclusive(1, 0, xOf(bandMax), h1 + 1);
        painter.drawText(inside, Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(bandMax, 'g', 6));
        painter.drawText(inside, Qt::AlignCenter, mhz);
    } else {
        painter.drawText(whole, Qt::AlignCenter, mhz);
    }
    if (attenuation != 0) {
        font.setPixelSize(std::max(1, int(0.4 * h1)));
        painter.setFont(font);
        painter.setPen(QColor(kAttenuation));
        painter.drawText(inclusive(1, 0, w1 - 1, h1), Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("%1 dB").arg(attenuation));
    }
}

// A small bracket hanging from the top edge, longer the more products land
// on that frequency.
void Spectrum::paintIntermod(QPainter& painter)
{
    const int h1 = height() - 1;
    painter.setPen(QColor(kProduct));
    for (auto it = intermod.cbegin(); it != intermod.cend(); ++it) {
        const int x = xOf(it.key() * 0.01);
        const int y = int(std::min(kMarkPerProduct * it.value(), double(h1 - 3)));
        painter.drawLine(x - 1, 0, x - 1, y);
        painter.drawLine(x + 1, 0, x + 1, y);
        painter.drawLine(x - 1, y, x + 1, y);
    }
}

void Spectrum::paintChannels(QPainter& painter)
{
    const int h1 = height() - 1;
    for (int i = 0; i < count; ++i) {
        const ChannelConfig& channel = channels[i];
        if (!channel.used)
            continue;
        if (dist[i] >= kWideDistance)
            painter.setPen(QColor(kWide));
        else if (dist[i] >= kCloseDistance)
            painter.setPen(QColor(kNear));
        else
            painter.setPen(QPen(QColor(kClose), 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        const int x = xOf(channel.freq);
        const int y = int(std::lround(channel.gain * (h1 / kMinimumGainDb)));
        painter.drawLine(x, y, x, h1);
        const auto hit = intermod.constFind(tenKilohertz(channel.freq));
        if (showIntermod && hit != intermod.cend()) {
            painter.setPen(QColor(kHit));
            painter.drawLine(x, 0, x, int(std::min(kMarkPerProduct * hit.value(), double(h1 - 3))));
        }
    }
}
