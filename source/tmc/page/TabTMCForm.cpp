// The TMC page's form of one source: loading it, and composing the group 3A
// words, the source fields and the service keys from it.
#include "tmc/page/TabTMC.h"

#include "settings/FMSettings.h"
#include "tmc/page/TMCMsgModel.h"
#include "tmc/page/TMCTable.h"
#include "ui_TabTMCUI.h"

#include <QTableWidgetItem>

namespace {

// Group 3A variant words (ISO 14819-1, ALERT-C system information): bits
// 15-14 carry the variant number, the page forces them on every write.
constexpr quint16 kVariant1 = 0x4000;
constexpr quint16 kVariant2 = 0x8000;
constexpr quint16 kVariant3 = 0xC000;
constexpr quint16 kBelowVariant = 0x3FFF;
constexpr quint16 kVa0Kept = 0x3000;        // bits 13-12 of va0 are not shown
constexpr quint16 kVa1KeptInMode0 = 0xC030; // Ta stays in bits 5-4 while LTCC is sent
constexpr int kFieldShift = 6;              // LTN and SID: bits 11-6
constexpr int kSixBits = 63;
constexpr int kGapShift = 12; // va1 bits 13-12
constexpr int kTaShift = 4;   // va1 bits 5-4
constexpr int kTwShift = 2;   // va1 bits 3-2
constexpr int kTwoBits = 3;
constexpr int kLtccMask = 15;
constexpr int kByte = 255;

// flag bits of a TMC source
constexpr quint8 kSendVariant0 = 1;
constexpr quint8 kEncryption = 2;
constexpr quint8 kServiceKey = 4;
constexpr quint8 kSendVariant1 = 8;
constexpr quint8 kSendVariant2 = 16;
constexpr quint8 kSendVariant3 = 32;

// Service key word: bits 15-12 rotate, 11-8 shift, 7-0 xor.
constexpr int kRotateShift = 12;
constexpr int kShiftShift = 8;
constexpr int kNibble = 15;
constexpr int kKeyCount = 32;

QString hexWord(quint32 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

// A hexadecimal field that cannot be read counts as 0.
quint32 hexValue(const QString& text)
{
    bool ok = false;
    const quint32 value = text.toUInt(&ok, 16);
    return ok ? value : 0;
}

} // namespace

int TabTMC::writableSource() const
{
    const QTableWidgetItem* item = ui->sources->currentItem();
    if (!item || !store || loading)
        return 0;
    return item->data(Qt::UserRole).toInt();
}

void TabTMC::enableTimeFields(bool mode)
{
    for (QWidget* field : std::initializer_list<QWidget*>{ui->ta, ui->tw, ui->td})
        field->setEnabled(mode);
    ui->LTCC->setEnabled(!mode);
}

void TabTMC::itemChanged(QTableWidgetItem* item)
{
    if (!item || !store)
        return;
    currentSource = item->data(Qt::UserRole).toInt();
    source = store->tmcSource(currentSource);
    loading = true;

    const QString aid = hexWord(source.aid);
    if (ui->AID->findText(aid, Qt::MatchFixedString) < 0)
        ui->AID->addItem(aid);

    ui->gEnc->setChecked(source.flag & kEncryption);
    ui->key->setChecked(source.flag & kServiceKey);
    ui->variant0->setChecked(source.flag & kSendVariant0);
    ui->variant1->setChecked(source.flag & kSendVariant1);
    ui->variant2->setChecked(source.flag & kSendVariant2);
    ui->variant3->setChecked(source.flag & kSendVariant3);

    ui->var0->setText(hexWord(source.va0));
    ui->var1->setText(hexWord(source.va1));
    ui->var2->setText(hexWord(source.va2));
    ui->var3->setText(hexWord(source.va3));
    ui->AID->setCurrentIndex(ui->AID->findText(aid, Qt::MatchFixedString));
    ui->SPN->setText(source.spn);

    ui->LTN->setValue((source.va0 >> kFieldShift) & kSixBits);
    ui->SID->setValue((source.va1 >> kFieldShift) & kSixBits);
    const QList<QAbstractButton*> bits = {ui->U, ui->R, ui->N, ui->I, ui->M, ui->AFI};
    for (int bit = 0; bit < bits.size(); ++bit)
        bits.at(bit)->setChecked(source.va0 & (1u << bit));

    ui->GAP->setCurrentIndex((source.va1 >> kGapShift) & kTwoBits);
    ui->ta->setCurrentIndex((source.va1 >> kTaShift) & kTwoBits);
    ui->tw->setCurrentIndex((source.va1 >> kTwShift) & kTwoBits);
    ui->td->setCurrentIndex(source.va1 & kTwoBits);

    enableTimeFields(ui->M->isChecked());
    ui->LTCC->setValue(source.va1 & kLtccMask);
    ui->LTECC->setValue(source.va2 & kByte);
    ui->encid->setValue(source.enc);
    ui->repeat->setValue(source.rpt);
    ui->rate->setValue(source.rate);

    messageModel()->setMessages(source.messages);
    if (source.enc < kKeyCount) {
        const quint16 word = source.skt[source.enc];
        ui->rotate->setValue((word >> kRotateShift) & kNibble);
        ui->shift->setValue((word >> kShiftShift) & kNibble);
        ui->axor->setValue(word & kByte);
    }
    showMessage(messageModel()->current());
    loading = false;
}

void TabTMC::slotChanged()
{
    const int number = writableSource();
    if (number == 0)
        return;
    source.flag = quint8((ui->gEnc->isChecked() ? kEncryption : 0) |
                         (ui->key->isChecked() ? kServiceKey : 0) |
                         (ui->variant0->isChecked() ? kSendVariant0 : 0) |
                         (ui->variant1->isChecked() ? kSendVariant1 : 0) |
                         (ui->variant2->isChecked() ? kSendVariant2 : 0) |
                         (ui->variant3->isChecked() ? kSendVariant3 : 0));
    source.spn = ui->SPN->text();
    source.aid = quint16(hexValue(ui->AID->currentText()));

    quint32 va0 = source.va0 & kVa0Kept;
    quint32 va1 = (source.va1 & kBelowVariant) | kVariant1;
    quint32 va2 = (source.va2 & kBelowVariant) | kVariant2;
    const QList<QAbstractButton*> bits = {ui->U, ui->R, ui->N, ui->I, ui->M, ui->AFI};
    for (int bit = 0; bit < bits.size(); ++bit) {
        if (bits.at(bit)->isChecked())
            va0 |= 1u << bit;
    }
    if (ui->M->isChecked()) {
        va1 = (va1 & kVariant3) | quint32(ui->ta->currentIndex() & kTwoBits) << kTaShift |
              quint32(ui->tw->currentIndex() & kTwoBits) << kTwShift |
              quint32(ui->td->currentIndex() & kTwoBits);
    } else {
        va1 = (va1 & kVa1KeptInMode0) | quint32(ui->LTCC->value() & kLtccMask);
    }
    va0 |= quint32(ui->LTN->value() & kSixBits) << kFieldShift;
    va1 |= quint32(ui->SID->value() & kSixBits) << kFieldShift |
           quint32(ui->GAP->currentIndex() & kTwoBits) << kGapShift;
    va2 = (va2 & ~quint32(kByte)) | quint32(ui->LTECC->value() & kByte);
    source.va0 = quint16(va0);
    source.va1 = quint16(va1);
    source.va2 = quint16(va2);
    source.va3 |= kVariant3;

    source.rate = quint8(ui->rate->value());
    source.rpt = quint8(ui->repeat->value());
    source.enc = quint8(ui->encid->value());
    store->setTMCFile(number, source);
}

void TabTMC::varxChanged()
{
    const int number = writableSource();
    if (number == 0)
        return;
    source.va0 = quint16(hexValue(ui->var0->text()) & kBelowVariant);
    source.va1 = quint16((hexValue(ui->var1->text()) & kBelowVariant) | kVariant1);
    source.va2 = quint16((hexValue(ui->var2->text()) & kBelowVariant) | kVariant2);
    source.va3 = quint16(hexValue(ui->var3->text()) | kVariant3);
    ui->var0->setText(hexWord(source.va0));
    ui->var1->setText(hexWord(source.va1));
    ui->var2->setText(hexWord(source.va2));
    ui->var3->setText(hexWord(source.va3));
    store->setTMCFile(number, source);
}

void TabTMC::encChanged()
{
    if (loading)
        return;
    loading = true;
    const int enc = ui->encid->value();
    if (enc < kKeyCount) {
        const quint16 word = source.skt[enc];
        ui->rotate->setValue((word >> kRotateShift) & kNibble);
        ui->shift->setValue((word >> kShiftShift) & kNibble);
        ui->axor->setValue(word & kByte);
    }
    loading = false;
    slotChanged();
}

void TabTMC::keyChanged()
{
    const int number = writableSource();
    const int enc = ui->encid->value();
    if (number == 0 || enc < 0 || enc >= kKeyCount)
        return;
    const quint16 word =
        quint16((ui->rotate->value() & kNibble) << kRotateShift |
                (ui->shift->value() & kNibble) << kShiftShift | (ui->axor->value() & kByte));
    source.skt[enc] = word;
    store->setTMCWord(number, quint8(enc), word);
}

void TabTMC::saveECC(const ECC& country)
{
    const QString shown = ui->LTCC->text();
    const QChar digit = shown.isEmpty() ? QChar() : shown.at(0);
    loading = true;
    if (!country.ci.isEmpty() && !country.ci.contains(char(digit.toLatin1()))) {
        bool ok = false;
        const int value = QString(QLatin1Char(country.ci.at(0))).toInt(&ok, 16);
        if (ok)
            ui->LTCC->setValue(value);
    }
    ui->LTECC->setValue(country.ecc());
    loading = false;
    slotChanged();
}
