#include "rds/TabRDS.h"

#include "country/ECCSearch.h"
#include "rds/EONModel.h"
#include "rds/ODAModel.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDS2.h"
#include "ui_TabRDSAF.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QButtonGroup>

#include <initializer_list>

namespace {

// Connects one signal of each sender to the slots in the order given.
template <typename Signal, typename... Slots>
void feed(TabRDS* page,
          std::initializer_list<typename QtPrivate::FunctionPointer<Signal>::Object*> senders,
          Signal signal, Slots... targets)
{
    for (auto* sender : senders)
        (QObject::connect(sender, signal, page, targets), ...);
}

} // namespace

void TabRDS::connectFrame()
{
    feed(this, {ui->Badd}, &QPushButton::clicked, &TabRDS::addSource);
    feed(this, {ui->Bdel}, &QPushButton::clicked, &TabRDS::delSource);
    feed(this, {ui->BaddLog}, &QPushButton::clicked, &TabRDS::addLog, &TabRDS::slotChanged);
    feed(this, {ui->BdelLog}, &QPushButton::clicked, &TabRDS::delLog, &TabRDS::slotChanged);
    feed(this, {ui->Brestart}, &QToolButton::clicked, &TabRDS::restartStat);
    feed(this, {ui->sources}, &QTableWidget::itemChanged, &TabRDS::nameChanged);
    connect(ui->sources, &QTableWidget::currentItemChanged, this,
            [this](QTableWidgetItem* current) { itemChanged(current); });
    feed(this, {ui->gLog}, &QGroupBox::toggled, &TabRDS::slotChanged);
    feed(this, {ui->saveLog}, &QPushButton::clicked, &TabRDS::saveLog);
    feed(this, {ui->BRT, ui->BRTp, ui->BeRT}, &QPushButton::clicked, &TabRDS::setDec);
}

void TabRDS::connectBasic()
{
    connect(eccSearch, &ECCSearch::saveECC, this, &TabRDS::saveECC);
    connect(ui0->BECC, &QToolButton::clicked, eccSearch, &ECCSearch::showECC);
    feed(this, {ui0->PI}, &QLineEdit::editingFinished, &TabRDS::slotChanged, &TabRDS::findCountry);
    feed(this, {ui0->C_ECC}, &QSpinBox::valueChanged, &TabRDS::slotChanged, &TabRDS::findCountry);
    feed(this, {ui0->LPSBOM, ui0->forceL}, &QCheckBox::clicked, &TabRDS::slotChanged,
         &TabRDS::calcLPS);
    feed(this,
         {ui0->TP, ui0->TA, ui0->d0, ui0->d1, ui0->d2, ui0->d3, ui0->psscroll, ui0->setdate,
          ui0->fixPI, ui0->fixCRC, ui0->fixGrp, ui0->perGrp, ui0->C_LA},
         &QCheckBox::clicked, &TabRDS::slotChanged);
    feed(this, {ui0->Music}, &QRadioButton::toggled, &TabRDS::slotChanged);
    feed(this, {ui0->forceGAP}, &QCheckBox::toggled, &TabRDS::slotChanged);
    feed(this, {ui0->gError}, &QGroupBox::toggled, &TabRDS::slotChanged);
    feed(this, {ui0->LPS, ui0->PS, ui0->PTYN1, ui0->PTYN2}, &QLineEdit::editingFinished,
         &TabRDS::slotChanged);
    feed(this, {ui0->endL, ui0->rpty1, ui0->rpty2}, &QSpinBox::editingFinished,
         &TabRDS::slotChanged);
    feed(this, {ui0->PTY, ui0->Error, ui0->tmcSI, ui0->LPScode}, &QComboBox::currentIndexChanged,
         &TabRDS::slotChanged);
    feed(this,
         {ui0->psrepeat, ui0->psrate, ui0->mins, ui0->BER, ui0->burstn1, ui0->burstn2, ui0->burstn3,
          ui0->burstn4, ui0->B_PAG, ui0->D_PIN},
         &QSpinBox::valueChanged, &TabRDS::slotChanged);
    feed(this, {ui0->zone, ui0->bursttime1, ui0->bursttime2, ui0->bursttime3, ui0->bursttime4},
         &QDoubleSpinBox::valueChanged, &TabRDS::slotChanged);
    feed(this, {ui0->date}, &QDateEdit::dateChanged, &TabRDS::slotChanged);
    feed(this, {ui0->PS}, &QLineEdit::textChanged, &TabRDS::calcPS);
    feed(this, {ui0->LPS}, &QLineEdit::textChanged, &TabRDS::calcLPS);
    feed(this,
         {ui0->rate0, ui0->rate1, ui0->rate3, ui0->rate8, ui0->rate10, ui0->rate14, ui0->rate15},
         &QSpinBox::valueChanged, &TabRDS::rateChanged);
    feed(this,
         {ui0->group00, ui0->group01, ui0->group04, ui0->group08, ui0->group10, ui0->group14,
          ui0->group15},
         &QGroupBox::toggled, &TabRDS::rateChanged);
    feed(this, {ui0->fill0, ui0->fill8, ui0->fill14, ui0->fill15}, &QCheckBox::toggled,
         &TabRDS::rateChanged);
    feed(this, {ui0->BaddEON}, &QPushButton::clicked, [this] { addEON(EONModel::newRow()); });
    feed(this, {ui0->BdelEON}, &QPushButton::clicked, &TabRDS::delEON);
    connect(eonModel, &EONModel::saveEON, this, &TabRDS::saveEON);

    connect(ui0->setdate, &QCheckBox::toggled, ui0->date, &QWidget::setEnabled);
    connect(ui0->psscroll, &QCheckBox::toggled, ui0->psrepeat, &QWidget::setEnabled);
    connect(ui0->psscroll, &QCheckBox::toggled, ui0->psrate, &QWidget::setEnabled);
}

void TabRDS::connectRadioText()
{
    feed(this, {uiRT->sendRT, uiRT->sendRTe}, &QCheckBox::toggled, &TabRDS::slotChanged,
         &TabRDS::rtxtChanged, &TabRDS::rateChanged);
    feed(this, {uiRT->gRTplus}, &QGroupBox::toggled, &TabRDS::rtxtChanged, &TabRDS::rateChanged);
    feed(this,
         {uiRT->flagAB, uiRT->eRTBOM, uiRT->RTBOM, uiRT->forceA, uiRT->forceB, uiRT->forceC,
          uiRT->forceD, uiRT->readID3, uiRT->itemTog, uiRT->itemRun},
         &QCheckBox::clicked, &TabRDS::slotChanged);
    feed(this, {uiRT->g3ert, uiRT->g3rtp}, &QGroupBox::toggled, &TabRDS::slotChanged);
    feed(this, {uiRT->eRTflag, uiRT->eRTL}, &QCheckBox::toggled, &TabRDS::slotChanged);
    feed(this,
         {uiRT->RTA, uiRT->RTB, uiRT->RTC, uiRT->RTD, uiRT->pRTbits, uiRT->eRTbits, uiRT->pRTaid,
          uiRT->eRTaid},
         &QLineEdit::editingFinished, &TabRDS::slotChanged);
    feed(this,
         {uiRT->rpA, uiRT->rpB, uiRT->rpC, uiRT->rpD, uiRT->endA, uiRT->endB, uiRT->endC,
          uiRT->endD},
         &QSpinBox::editingFinished, &TabRDS::slotChanged);
    feed(this, {uiRT->RTcode, uiRT->RTgroup, uiRT->eRTcode}, &QComboBox::currentIndexChanged,
         &TabRDS::slotChanged);
    feed(this, {uiRT->pRTgroup, uiRT->eRTgroup}, &QComboBox::currentIndexChanged,
         &TabRDS::slotChanged, &TabRDS::rateChanged);
    feed(this, {uiRT->tags}, &QTableWidget::itemChanged, &TabRDS::slotChanged, &TabRDS::showText);
    feed(this, {uiRT->rateRT, uiRT->rateRTe, uiRT->rateRTp}, &QSpinBox::valueChanged,
         &TabRDS::rateChanged);
    feed(this, {uiRT->fillERT, uiRT->fill2}, &QCheckBox::toggled, &TabRDS::rateChanged);
    feed(this, {uiRT->addTag}, &QPushButton::clicked, [this] { addTag(); });
    feed(this, {uiRT->delTag}, &QPushButton::clicked, &TabRDS::delTag);
    feed(this, {uiRT->RTA, uiRT->RTB, uiRT->RTC, uiRT->RTD}, &QLineEdit::textChanged,
         &TabRDS::showText);
    feed(this, {uiRT->hexrt, uiRT->hexer}, &QToolButton::toggled, &TabRDS::showText);
}

void TabRDS::connectOthers()
{
    feed(this, {uiAF->BaddAF}, &QPushButton::clicked, &TabRDS::addAF, &TabRDS::slotChanged);
    feed(this, {uiAF->BaddList}, &QPushButton::clicked, &TabRDS::addList);
    feed(this, {uiAF->BdelAF}, &QPushButton::clicked, &TabRDS::delAF);
    feed(this, {uiAF->AFmtab}, &QTableWidget::itemChanged, &TabRDS::freqChanged);
    feed(this, {uiAF->AFmtab}, &QTableWidget::doubleClicked, &TabRDS::regionalManu);
    feed(this, {uiAF->AFatab}, &QTableView::doubleClicked, &TabRDS::regionalAuto);
    feed(this, {uiAF->AFatab}, &QTableView::activated, [this] { updateAFs(); });
    feed(this, {uiAF->AFatab}, &QTableView::clicked, [this] { updateAFs(); });
    feed(this, {uiAF->AFauto, uiAF->AFman, uiAF->AFA, uiAF->AFB}, &QAbstractButton::clicked,
         &TabRDS::slotChanged);
    feed(this, {uiAF->AFused}, &QGroupBox::clicked, &TabRDS::slotChanged);
    feed(this, {uiAF->AFbytes}, &QCheckBox::clicked, &TabRDS::showBytes);
    connect(uiAF->AFauto, &QCheckBox::toggled, uiAF->AFatab, &QWidget::setEnabled);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{uiAF->AFmtab, uiAF->BaddList, uiAF->BaddAF, uiAF->BdelAF})
        connect(uiAF->AFman, &QCheckBox::toggled, widget, &QWidget::setEnabled);

    feed(this, {ui2->BaddODA}, &QPushButton::clicked, &TabRDS::addODA);
    feed(this, {ui2->BdelODA}, &QPushButton::clicked, &TabRDS::delODA);
    connect(odaModel, &ODAModel::saveODA, this, &TabRDS::saveODA);
    feed(this, {ui2->cbRun1, ui2->cbRun2, ui2->cbRun3, ui2->cbDup1, ui2->cbDup2, ui2->cbDup3},
         &QCheckBox::clicked, &TabRDS::slotChanged);
    feed(this, {ui2->g0, ui2->g1, ui2->g2, ui2->g3}, &QSpinBox::valueChanged, &TabRDS::rds2Changed);
    feed(this, {ui2->on, ui2->f0, ui2->f1, ui2->f2, ui2->f3}, &QCheckBox::clicked,
         &TabRDS::rds2Changed);

    groupButtons = new QButtonGroup(this);
    groupButtons->setExclusive(false);
    const QList<QToolButton*> a = {ui2->A0,  ui2->A1,  ui2->A2,  ui2->A3, ui2->A4,  ui2->A5,
                                   ui2->A6,  ui2->A7,  ui2->A8,  ui2->A9, ui2->A10, ui2->A11,
                                   ui2->A12, ui2->A13, ui2->A14, ui2->A15};
    const QList<QToolButton*> b = {ui2->B0,  ui2->B1,  ui2->B2,  ui2->B3, ui2->B4,  ui2->B5,
                                   ui2->B6,  ui2->B7,  ui2->B8,  ui2->B9, ui2->B10, ui2->B11,
                                   ui2->B12, ui2->B13, ui2->B14, ui2->B15};
    for (int type = 0; type < a.size(); ++type) {
        groupButtons->addButton(a.at(type), type);
        groupButtons->addButton(b.at(type), int(a.size()) + type);
    }
    connect(groupButtons, &QButtonGroup::idClicked, this, &TabRDS::selectGroup);
}
