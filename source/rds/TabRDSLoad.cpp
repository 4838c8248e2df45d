#include "rds/TabRDS.h"

#include "board/RdsAirText.h"
#include "rds/EONModel.h"
#include "rds/GroupEntries.h"
#include "rds/ODAModel.h"
#include "rds/RDSLogFiles.h"
#include "settings/FMSettings.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDS2.h"
#include "ui_TabRDSAF.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QDate>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace GroupEntries;

constexpr int kHexDigits = 4;
constexpr double kTenthsPerSecond = 10.0;

bool bit(unsigned value, int number)
{
    return (value >> number) & 1U;
}

QString hex4(unsigned value)
{
    return QStringLiteral("%1").arg(value, kHexDigits, 16, QLatin1Char('0')).toUpper();
}

// The day count's origin is the first day the clock group can carry.
QDate firstDay()
{
    return QDate(1900, 3, 1);
}

void selectText(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text));
}

} // namespace

void TabRDS::itemChanged(QTableWidgetItem* item)
{
    if (!item || !store)
        return;
    sourceId = item->data(Qt::UserRole).toInt();
    const RDSSource source = store->rdsSource(sourceId);
    loading = true;
    RDSSource afSource = source;
    showAFTables(afSource);
    loadBasic(source);
    loadRates(source);
    loadSwitches(source);
    loadClockAndErrors(source);
    loadRadioText(source);
    loadLogFiles(source);
    loadManualAFs(source);
    // The tables of the source's lists come last: other networks, then ODA rows.
    eonModel->reload(source.eon);
    odaModel->reload(source.oda);
    rememberLoaded(sourceId, source);
    loading = false;
    findCountry();
    refreshByteViews();
}

void TabRDS::loadBasic(const RDSSource& source)
{
    ui0->PS->setText(source.ps);
    ui0->LPS->setText(source.lps);
    ui0->PI->setText(hex4(source.pi));
    ui0->TP->setChecked(source.tp != 0);
    ui0->TA->setChecked(source.ta != 0);
    ui0->Music->setChecked(source.ms != 0);
    ui0->Speech->setChecked(source.ms == 0);
    ui0->PTY->setCurrentIndex(source.pty);
    ui0->d0->setChecked(bit(source.dec, 0));
    ui0->d1->setChecked(bit(source.dec, 1));
    ui0->d2->setChecked(bit(source.dec, 2));
    ui0->d3->setChecked(bit(source.dec, 3));
}

void TabRDS::loadRates(const RDSSource& source)
{
    rates = source.gmin;
    loadedRtGroup = source.rtgrp;
    loadedErtGroup = source.ertg;
    selectGroup(selectedGroup);
    updateColor();
    for (const auto& [group, box] : groupSwitches())
        box->setChecked(rates.at(group).on != 0);
    uiRT->gRTplus->setChecked(source.rtgrp < kVersionB && rates.at(source.rtgrp).on != 0);

    const auto stream0 = [this](int group) { return rates.at(group).rate.at(0); };
    const std::pair<QSpinBox*, int> rateBoxes[] = {
        {ui0->rate0, kGroup0},       {ui0->rate1, kGroup1},   {uiRT->rateRT, kGroup2},
        {ui0->rate3, kGroup3},       {ui0->rate8, kGroup8},   {ui0->rate10, kGroup10},
        {ui0->rate14, kGroup14},     {ui0->rate15, kGroup15}, {uiRT->rateRTp, source.rtgrp},
        {uiRT->rateRTe, source.ertg}};
    for (const auto& [box, group] : rateBoxes) {
        if (group < kVersionB && stream0(group) != 0)
            box->setValue(std::abs(stream0(group)));
    }
    uiRT->fillERT->setChecked(source.ertg < kVersionB && stream0(source.ertg) < 0);
    const std::pair<QCheckBox*, int> fills[] = {{ui0->fill0, kGroup0},
                                                {uiRT->fill2, kGroup2},
                                                {ui0->fill8, kGroup8},
                                                {ui0->fill14, kGroup14},
                                                {ui0->fill15, kGroup15}};
    for (const auto& [box, group] : fills)
        box->setChecked(stream0(group) < 0);
}

void TabRDS::loadSwitches(const RDSSource& source)
{
    ui0->forceGAP->setChecked(source.tmgap != 0);
    ui0->psscroll->setChecked(bit(source.pss, 3));
    ui0->psrepeat->setValue((source.pss >> 4) + 1);
    ui0->psrate->setValue((source.pss & 7) + 1);

    uiAF->AFauto->setChecked(bit(source.afu, 1));
    uiAF->AFman->setChecked(bit(source.afu, 2));
    uiAF->AFB->setChecked(bit(source.afu, 3));
    uiAF->AFA->setChecked(!bit(source.afu, 3));
    // First the opposite state, so its toggle handling always runs.
    uiAF->AFused->setChecked(!bit(source.afu, 0));
    uiAF->AFused->setChecked(bit(source.afu, 0));
}

void TabRDS::loadClockAndErrors(const RDSSource& source)
{
    ui0->zone->setValue(source.zone);
    ui0->mins->setValue(source.mins);
    // Day 0 is "today": it stays at the minimum, where the field says so,
    // and is not frozen into today's date by the next save.
    ui0->date->setDate(source.days != 0 ? firstDay().addDays(source.days)
                                        : ui0->date->minimumDate());
    ui0->setdate->setChecked(bit(source.date, 0));

    ui0->gError->setChecked(bit(source.err, 7));
    ui0->Error->setCurrentIndex(source.err & 127);
    ui0->BER->setValue(source.ber);
    ui0->fixPI->setChecked(bit(source.fix, 2));
    ui0->fixCRC->setChecked(bit(source.fix, 0));
    ui0->fixGrp->setChecked(bit(source.fix, 1));
    ui0->perGrp->setChecked(bit(source.fix, 7));

    ui0->burstn1->setValue(source.eoc1);
    ui0->burstn2->setValue(source.eoc2);
    ui0->burstn3->setValue(source.buc1);
    ui0->burstn4->setValue(source.buc2);
    ui0->bursttime1->setValue(source.eot1 / kTenthsPerSecond);
    ui0->bursttime2->setValue(source.eot2 / kTenthsPerSecond);
    ui0->bursttime3->setValue(source.but1 / kTenthsPerSecond);
    ui0->bursttime4->setValue(source.but2 / kTenthsPerSecond);

    ui0->PTYN1->setText(source.pn1);
    ui0->PTYN2->setText(source.pn2);
    ui0->rpty1->setValue(source.rp1);
    ui0->rpty2->setValue(source.rp2);
    fillTMCCombo(int(source.tmcsi));
}

void TabRDS::loadRadioText(const RDSSource& source)
{
    const std::pair<QSpinBox*, int> counts[] = {
        {uiRT->rpA, source.rpa},   {uiRT->rpB, source.rpb},   {uiRT->rpC, source.rpc},
        {uiRT->rpD, source.rpd},   {uiRT->endA, source.enda}, {uiRT->endB, source.endb},
        {uiRT->endC, source.endc}, {uiRT->endD, source.endd}, {ui0->endL, source.endl}};
    for (const auto& [box, value] : counts)
        box->setValue(value);
    const std::pair<QCheckBox*, int> forced[] = {{uiRT->forceA, 0},
                                                 {uiRT->forceB, 1},
                                                 {uiRT->forceC, 2},
                                                 {uiRT->forceD, 3},
                                                 {ui0->forceL, 4}};
    for (const auto& [box, number] : forced)
        box->setChecked(bit(source.endx, number));

    uiRT->pRTbits->setText(hex4(source.rtbit));
    uiRT->eRTbits->setText(hex4(source.ertb));
    uiRT->pRTaid->setText(hex4(source.paid));
    uiRT->eRTaid->setText(hex4(source.eaid));

    ui0->C_LA->setChecked(bit(source.slow, 15));
    ui0->C_ECC->setValue(source.slow & 0x7FFF);
    ui0->B_PAG->setValue(source.page);
    ui0->D_PIN->setValue(source.pin);

    // The RDS2 streams, bit 0 is always set.
    const std::pair<QCheckBox*, int> streams[] = {{ui2->cbRun1, 1}, {ui2->cbRun2, 2},
                                                  {ui2->cbRun3, 3}, {ui2->cbDup1, 4},
                                                  {ui2->cbDup2, 5}, {ui2->cbDup3, 6}};
    for (const auto& [box, number] : streams)
        box->setChecked(bit(source.mode, number));

    selectText(uiRT->pRTgroup, QString::number(source.rtgrp) + QLatin1Char('A'));
    selectText(uiRT->eRTgroup, QString::number(source.ertg) + QLatin1Char('A'));
    uiRT->RTgroup->setCurrentIndex(source.rtxg);
    const std::pair<QAbstractButton*, int> textSwitches[] = {{uiRT->sendRT, 0},
                                                             {uiRT->sendRTe, 1},
                                                             {uiRT->eRTBOM, 2},
                                                             {uiRT->RTBOM, 3},
                                                             {uiRT->flagAB, 4}};
    for (const auto& [box, number] : textSwitches)
        box->setChecked(bit(source.rtxt, number));
    uiRT->g3ert->setChecked(bit(source.rtxt, 6));
    uiRT->g3rtp->setChecked(bit(source.rtxt, 7));
    ui0->LPSBOM->setChecked(bit(source.boml, 0));
    loadedCrt = source.crt;
    loadedEnc = source.enc;
    loadedClps = source.clps;
    selectCodec(uiRT->RTcode, source.crt, &RdsAirText::sameRadioTextCoding);
    selectCodec(uiRT->eRTcode, source.enc, &RdsAirText::sameTextCodec);
    selectCodec(ui0->LPScode, source.clps, &RdsAirText::sameTextCodec);
    uiRT->eRTflag->setChecked(bit(source.rtbit, 13));
    uiRT->eRTL->setChecked(bit(source.ertb, 1));

    // One group type cannot carry eRT and RT+ at once.
    const bool clash = uiRT->pRTgroup->currentText() == uiRT->eRTgroup->currentText();
    const QPalette groupPalette =
        clash ? blendedPalette(pagePalette, QPalette::Base, Qt::red) : pagePalette;
    uiRT->pRTgroup->setPalette(groupPalette);
    uiRT->eRTgroup->setPalette(groupPalette);

    uiRT->readID3->setChecked(bit(source.rtitm, 3));
    const int toggle = (source.rtitm >> 1) & 3;
    uiRT->itemTog->setCheckState(toggle == 1   ? Qt::PartiallyChecked
                                 : toggle == 2 ? Qt::Checked
                                               : Qt::Unchecked);
    uiRT->itemRun->setChecked(bit(source.rtitm, 0));
    fillTags(source.rta, source.rtb, source.rtc, source.rtd, source.rttag);
}

void TabRDS::loadLogFiles(const RDSSource& source)
{
    ui->gLog->setChecked(source.fused);
    ui->LogView->clear();
    ui->Log->selectionModel()->clear();
    logFiles->reload(source.files);
}
