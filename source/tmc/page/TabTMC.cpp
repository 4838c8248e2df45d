#include "tmc/page/TabTMC.h"

#include "settings/FMSettings.h"

TabTMC::TabTMC(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tmcPage"));
}

void TabTMC::setProgram(QSharedPointer<FMSettings> settings)
{
    store = std::move(settings);
}

void TabTMC::showSource(int tmcSource)
{
    source = tmcSource;
}
