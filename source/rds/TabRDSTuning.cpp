#include "rds/TabRDS.h"

void TabRDS::slotChanged() {}

void TabRDS::findCountry() {}

void TabRDS::saveECC(const ECC& /*row*/) {}

void TabRDS::timeout() {}

void TabRDS::calcPS() {}

void TabRDS::calcLPS() {}
