#include "channels/FMAudio.h"

#include "settings/FMSettings.h"

FMAudio::FMAudio(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("audioPage"));
}

void FMAudio::attach(QSharedPointer<FMSettings> settings)
{
    store = std::move(settings);
}

void FMAudio::selectPlaylist(int source)
{
    selected = source;
}
