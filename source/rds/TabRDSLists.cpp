#include "rds/TabRDS.h"

// AF lists, EON and ODA tables, group rates and the monitor: their models
// and editors are not part of the page yet, so these slots keep still.

void TabRDS::setDec() {}

void TabRDS::setLog(int /*channel*/) {}

void TabRDS::restartStat() {}

void TabRDS::saveLog() {}

void TabRDS::updateStatistics() {}

void TabRDS::addODA() {}

void TabRDS::delODA() {}

void TabRDS::saveODA() {}

void TabRDS::rds2Changed() {}

void TabRDS::rateChanged() {}

void TabRDS::selectGroup(int /*group*/) {}

void TabRDS::updateColor() {}
