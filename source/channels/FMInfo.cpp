#include "channels/FMInfo.h"

#include "settings/FMSettings.h"
#include "settings/SetHandler.h"

#include <QPainter>
#include <QTimer>

FMInfo::FMInfo(QWidget* parent) : QWidget(parent), repaintTimer(new QTimer(this))
{
    installEventFilter(new SetHandler(this));
}

FMInfo::~FMInfo() = default;

void FMInfo::setStore(QSharedPointer<FMSettings> settings)
{
    store = settings;
}

void FMInfo::setState(const ChannelConfig& channel)
{
    config = channel;
}

void FMInfo::setStatus(const ChannelStatus& channelStatus)
{
    status = channelStatus;
}

void FMInfo::setBoardInfo(const BoardInfo& info)
{
    boardInfo = info;
}

void FMInfo::setAudioType(int type)
{
    audioType = type;
}

void FMInfo::setPlayRate(unsigned hz)
{
    playRate = hz;
}

void FMInfo::setRate(unsigned hz)
{
    config.rate = qint32(hz);
}

void FMInfo::notify(SetValue*) {}

QString FMInfo::toolTipText(const QPoint&) const
{
    return {};
}

QRect FMInfo::area(int index) const
{
    return r.at(index);
}

void FMInfo::setClock(Clock) {}

void FMInfo::drawLed(QPainter&, const QRect&, int, Lamp) {}

bool FMInfo::event(QEvent* event)
{
    return QWidget::event(event);
}

void FMInfo::mousePressEvent(QMouseEvent*) {}

void FMInfo::mouseMoveEvent(QMouseEvent*) {}

void FMInfo::paintEvent(QPaintEvent*) {}
