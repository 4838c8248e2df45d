#include "rds/TabRDS.h"

#include "board/RdsAirText.h"
#include "board/RdsText.h"
#include "country/CountryTable.h"
#include "country/ECC.h"
#include "rds/HexSpinBox.h"
#include "rds/RDSLogFiles.h"
#include "settings/FMSettings.h"
#include "settings/RDSSource.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDS2.h"
#include "ui_TabRDSAF.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QDateTime>
#include <QPalette>
#include <QTableWidget>
#include <QTimeZone>
#include <QToolTip>

#include <cmath>

namespace {

// Day 0 of the clock group's fixed date; the date field shows "heute" there.
QDate firstDay()
{
    return QDate(1900, 3, 1);
}

quint8 flag(bool on, int bitNumber)
{
    return quint8(on ? 1u << bitNumber : 0u);
}

// Each listed field of the form's record that still reads as it did right
// after loading takes the stored value: a widget that cannot show a stored
// value (out of its range, rounded, not listed) must not rewrite it when the
// operator edits something else.
template <auto... Fields>
void keepUnedited(RDSSource& form, const RDSSource& asLoaded, const RDSSource& stored)
{
    ((form.*Fields == asLoaded.*Fields ? void(form.*Fields = stored.*Fields) : void()), ...);
}

void keepUneditedFields(RDSSource& form, const RDSSource& asLoaded, const RDSSource& stored)
{
    using S = RDSSource;
    keepUnedited<&S::lps, &S::ps, &S::pi, &S::tp, &S::ta, &S::ms, &S::afu, &S::pty, &S::dec,
                 &S::rta, &S::rtb, &S::rtc, &S::rtd, &S::rpa, &S::rpb, &S::rpc, &S::rpd, &S::enc,
                 &S::crt, &S::clps, &S::enda, &S::endb, &S::endc, &S::endd, &S::endl, &S::endx,
                 &S::pn1, &S::pn2, &S::rp1, &S::rp2, &S::pss, &S::mins, &S::days, &S::date,
                 &S::zone, &S::err, &S::ber, &S::fix, &S::buc1, &S::buc2, &S::but1, &S::but2,
                 &S::eoc1, &S::eoc2, &S::eot1, &S::eot2, &S::tmcsi, &S::tmgap, &S::rtgrp, &S::rtbit,
                 &S::rtitm, &S::boml, &S::rtxt, &S::rtxg, &S::ertg, &S::ertb, &S::paid, &S::eaid,
                 &S::page, &S::slow, &S::pin, &S::mode, &S::fused, &S::files, &S::rttag>(
        form, asLoaded, stored);
}

// Burst times are entered with one decimal and stored in tenths; rounding
// before truncating keeps 0.7 s from becoming 6 tenths.
quint8 tenths(double seconds)
{
    return quint8(std::floor(seconds * 10.0 + 1e-6));
}

// The first character of a PI text as the country table knows it: 0 when
// the text is empty.
char piDigit(const QString& piText)
{
    return piText.isEmpty() ? '\0' : piText.at(0).toLatin1();
}

QString coverageName(int area)
{
    switch (area) {
    case 0:
        return QStringLiteral("Local");
    case 1:
        return QStringLiteral("International");
    case 2:
        return QStringLiteral("National");
    case 3:
        return TabRDS::tr("Überregional");
    default:
        return TabRDS::tr("Regional %1").arg(area - 3);
    }
}

} // namespace

void TabRDS::slotChanged()
{
    if (!store || loading || !ui->sources->currentItem())
        return;
    const int id = ui->sources->currentItem()->data(Qt::UserRole).toInt();
    RDSSource source;
    readForms(source);
    if (id == loadedId)
        keepUneditedFields(source, formAsLoaded, loadedSource);
    showErtBits(source.ertb);
    markGroupClash();
    popItemBitsTip();
    store->setRDS(id, source);
    refreshByteViews();
    updateAFs(true);
}

void TabRDS::readForms(RDSSource& source)
{
    readBasic(source);
    readClockAndErrors(source);
    readOtherForms(source);
    readRadioText(source);
}

void TabRDS::rememberLoaded(int id, const RDSSource& source)
{
    loadedId = id;
    loadedSource = source;
    formAsLoaded = RDSSource();
    readForms(formAsLoaded);
}

void TabRDS::readBasic(RDSSource& source)
{
    source.pi = quint16(ui0->PI->text().toUInt(nullptr, 16));
    source.tp = flag(ui0->TP->isChecked(), 0);
    source.ta = flag(ui0->TA->isChecked(), 0);
    source.ms = flag(ui0->Music->isChecked(), 0);
    // A combo with nothing selected has no value of its own to store.
    source.pty = ui0->PTY->currentIndex() < 0 ? loadedSource.pty : quint8(ui0->PTY->currentIndex());
    source.dec = flag(ui0->d0->isChecked(), 0) | flag(ui0->d1->isChecked(), 1) |
                 flag(ui0->d2->isChecked(), 2) | flag(ui0->d3->isChecked(), 3);
    source.ps = ui0->PS->text();
    source.pss = quint8((ui0->psrate->value() - 1) & 7) | flag(ui0->psscroll->isChecked(), 3) |
                 quint8(((ui0->psrepeat->value() - 1) & 15) << 4);
    source.lps = ui0->LPS->text();
    source.clps = storedCodec(ui0->LPScode, loadedClps, &RdsAirText::sameTextCodec);
    source.boml = flag(ui0->LPSBOM->isChecked(), 0);
    source.endl = quint8(ui0->endL->value());
    source.pn1 = ui0->PTYN1->text();
    source.pn2 = ui0->PTYN2->text();
    source.rp1 = quint8(ui0->rpty1->value());
    source.rp2 = quint8(ui0->rpty2->value());
    source.slow =
        quint16(ui0->C_ECC->value() & 0x7FFF) | quint16(ui0->C_LA->isChecked() ? 0x8000 : 0);
    source.page = quint8(ui0->B_PAG->value());
    source.pin = quint16(ui0->D_PIN->value());
    source.tmcsi = ui0->tmcSI->currentIndex() < 0 ? loadedSource.tmcsi
                                                  : quint32(ui0->tmcSI->currentData().toInt());
    source.tmgap = flag(ui0->forceGAP->isChecked(), 0);
    source.eoc1 = quint8(ui0->burstn1->value());
    source.eoc2 = quint8(ui0->burstn2->value());
    source.eot1 = tenths(ui0->bursttime1->value());
    source.eot2 = tenths(ui0->bursttime2->value());
    source.buc1 = quint8(ui0->burstn3->value());
    source.buc2 = quint8(ui0->burstn4->value());
    source.but1 = tenths(ui0->bursttime3->value());
    source.but2 = tenths(ui0->bursttime4->value());
}

void TabRDS::readClockAndErrors(RDSSource& source)
{
    source.zone = qint8(int(ui0->zone->value()));
    source.mins = ui0->mins->value();
    source.days = quint32(std::max<qint64>(0, firstDay().daysTo(ui0->date->date())));
    source.date = flag(ui0->setdate->isChecked(), 0);
    source.err = quint8(ui0->Error->currentIndex() & 3) | flag(ui0->gError->isChecked(), 7);
    source.ber = quint8(ui0->BER->value());
    source.fix = flag(ui0->fixCRC->isChecked(), 0) | flag(ui0->fixGrp->isChecked(), 1) |
                 flag(ui0->fixPI->isChecked(), 2) | flag(ui0->perGrp->isChecked(), 7);
}

void TabRDS::readOtherForms(RDSSource& source)
{
    source.afu = flag(uiAF->AFused->isChecked(), 0) | flag(uiAF->AFauto->isChecked(), 1) |
                 flag(uiAF->AFman->isChecked(), 2) | flag(uiAF->AFB->isChecked(), 3);
    source.mode = 1 | flag(ui2->cbRun1->isChecked(), 1) | flag(ui2->cbRun2->isChecked(), 2) |
                  flag(ui2->cbRun3->isChecked(), 3) | flag(ui2->cbDup1->isChecked(), 4) |
                  flag(ui2->cbDup2->isChecked(), 5) | flag(ui2->cbDup3->isChecked(), 6);
    source.fused = ui->gLog->isChecked();
    source.files = logFiles ? logFiles->files() : QStringList();
}

void TabRDS::findCountry()
{
    if (loading)
        return;
    const QString text = ui0->PI->text().toUpper();
    const char c = piDigit(text);
    const uint pi = text.toUInt(nullptr, 16);
    QString piTip =
        QString(QLatin1Char(c)) + QStringLiteral(": Country Identifier CI") + QLatin1Char('\n');
    if ((pi & 0xFF) != 0)
        piTip += text.mid(1, 1) + QStringLiteral(": ") + coverageName(int((pi >> 8) & 15));
    else
        piTip += QStringLiteral("00: ") + tr("kurze Reichweite (low-power)");
    ui0->PI->setToolTip(piTip);

    const int value = ui0->C_ECC->value();
    const int variant = (value >> 12) & 7;
    QString eccTip = tr("Anwendungscode") + QStringLiteral(" %1").arg(variant);
    if (variant == 0) {
        const quint8 ecc = quint8(value & 0xFF);
        eccTip += QLatin1Char('\n') + tr("Länder mit") +
                  QStringLiteral(" %1 %2\n").arg(QLatin1Char(c)).arg(ecc, 0, 16).toUpper() +
                  countryByCode(c, ecc);
    }
    ui0->C_ECC->setToolTip(eccTip);
}

void TabRDS::saveECC(const ECC& row)
{
    loading = true;
    const QString pi = ui0->PI->text();
    const char c = piDigit(pi);
    if (!row.ci.isEmpty() && (c == '\0' || !row.ci.contains(c)))
        ui0->PI->setText(QLatin1Char(row.ci.at(0)) + pi.mid(1));
    ui0->C_ECC->setValue(row.ecc());
    loading = false;
    slotChanged();
    findCountry();
}

void TabRDS::timeout()
{
    QDateTime now = QDateTime::currentDateTimeUtc().addSecs(qint64(ui0->mins->value()) * 60);
    // At its minimum the date field stands for today: the clock's own date.
    if (ui0->setdate->isChecked() && ui0->date->date() != ui0->date->minimumDate())
        now.setDate(ui0->date->date());
    ui0->utc->setText(clockPreview(now, ui0->zone->value()));
    updateStatistics();
}

QString TabRDS::clockPreview(const QDateTime& time, double zone)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm (ss)")) +
           QStringLiteral(" %1%2h/2").arg(zone >= 0 ? QStringLiteral("+") : QString()).arg(zone);
}
