#include "channels/FMChannel.h"

#include "settings/FMSettings.h"

FMChannel::FMChannel(int channel, QWidget* parent) : QLabel(parent), number(channel)
{
    setObjectName(QStringLiteral("channel%1").arg(channel));
    showState();
}

void FMChannel::refresh(QSharedPointer<FMSettings> settings)
{
    store = std::move(settings);
    showState();
}

void FMChannel::updateInfo(const BoardInfo&) {}

bool FMChannel::isUsed() const
{
    return store && store->channel(number).used;
}

void FMChannel::setUsed(bool used)
{
    if (!store)
        return;
    store->set(QStringLiteral("channel.%1.used").arg(number), used ? 1 : 0);
    showState();
}

void FMChannel::showState()
{
    setText(QStringLiteral("%1 %2").arg(number).arg(isUsed() ? tr("an") : tr("aus")));
}
