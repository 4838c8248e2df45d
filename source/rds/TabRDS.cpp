#include "rds/TabRDS.h"

#include "settings/FMSettings.h"

TabRDS::TabRDS(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("rdsPage"));
}

void TabRDS::setProgram(QSharedPointer<FMSettings> settings)
{
    store = std::move(settings);
}

void TabRDS::showSource(int rdsSource, int rdsTab)
{
    source = rdsSource;
    if (rdsTab >= 0)
        tab = rdsTab;
}
