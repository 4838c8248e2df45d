#include "rds/TabRDS.h"

#include "gui/SelectedRows.h"
#include "rds/GroupEntries.h"
#include "rds/ODAModel.h"
#include "settings/FMSettings.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDS2.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QButtonGroup>
#include <QSignalBlocker>

#include <algorithm>
#include <array>
#include <limits>

namespace {

using namespace GroupEntries;

constexpr int kStreams = 4;
// The clock-time group goes out once a minute (RDS standard, group 4A).
constexpr int kClockTimePerMinute = 1;
constexpr int kLighterPercent = 120; // a rate label's tint, 20 % lighter

qint32 signedRate(int rate, bool fill)
{
    return fill ? -rate : rate;
}

int magnitude(qint32 rate)
{
    return int(std::min<qint64>(qAbs(qint64(rate)), std::numeric_limits<int>::max()));
}

bool anyRate(const GroupRate& entry, int firstStream)
{
    return std::any_of(entry.rate.cbegin() + firstStream, entry.rate.cend(),
                       [](qint32 rate) { return rate != 0; });
}

} // namespace

int TabRDS::comboGroup(const QComboBox* combo)
{
    QString digits = combo->currentText();
    digits.remove(QLatin1Char('A'));
    bool isNumber = false;
    const uint group = digits.toUInt(&isNumber);
    return isNumber && group < uint(kVersionB) ? int(group) : -1;
}

void TabRDS::addODA()
{
    if (!store)
        return;
    odaModel->addRow(ODAModel::newRow());
    saveODA();
}

void TabRDS::delODA()
{
    const QList<int> rows = selectedRows(ui2->ODA);
    if (rows.isEmpty())
        return;
    odaModel->removeRow(rows);
    saveODA();
}

void TabRDS::saveODA()
{
    if (!store || loading)
        return;
    store->setODA(sourceId, odaModel->rowList());
}

void TabRDS::selectGroup(int group)
{
    if (group < 0 || group >= GroupRate::kGroupCount)
        return;
    selectedGroup = group;
    const GroupRate& entry = rates.at(group);
    const std::array<QSpinBox*, kStreams> boxes = {ui2->g0, ui2->g1, ui2->g2, ui2->g3};
    const std::array<QCheckBox*, kStreams> fills = {ui2->f0, ui2->f1, ui2->f2, ui2->f3};
    const std::array<QLabel*, kStreams> labels = {ui2->l0, ui2->l1, ui2->l2, ui2->l3};
    ui2->on->setEnabled(true);
    for (int stream = 0; stream < kStreams; ++stream) {
        boxes.at(stream)->setEnabled(true);
        fills.at(stream)->setEnabled(true);
        const QSignalBlocker blocker(boxes.at(stream));
        boxes.at(stream)->setValue(magnitude(entry.rate.at(stream)));
        fills.at(stream)->setChecked(entry.rate.at(stream) < 0);
    }
    ui2->on->setChecked(entry.on != 0);

    // The extra streams that carry the group stand out beside stream 0.
    const QPalette plain = ui2->l0->palette();
    QPalette tinted = blendedPalette(plain, QPalette::Window, Qt::blue);
    for (int colourGroup = 0; colourGroup < QPalette::NColorGroups; ++colourGroup) {
        const auto which = QPalette::ColorGroup(colourGroup);
        tinted.setColor(which, QPalette::Window,
                        tinted.color(which, QPalette::Window).lighter(kLighterPercent));
    }
    for (int stream = 1; stream < kStreams; ++stream)
        labels.at(stream)->setPalette(entry.rate.at(stream) != 0 ? tinted : plain);
}

void TabRDS::rds2Changed()
{
    if (loading || selectedGroup < 0 || selectedGroup >= GroupRate::kGroupCount)
        return;
    const std::array<const QSpinBox*, kStreams> boxes = {ui2->g0, ui2->g1, ui2->g2, ui2->g3};
    const std::array<const QCheckBox*, kStreams> fills = {ui2->f0, ui2->f1, ui2->f2, ui2->f3};
    GroupRate taken;
    taken.on = ui2->on->isChecked() ? 1 : 0;
    for (int stream = 0; stream < kStreams; ++stream)
        taken.rate.at(stream) =
            signedRate(boxes.at(stream)->value(), fills.at(stream)->isChecked());

    GroupRate& entry = rates.at(selectedGroup);
    if (entry.on != taken.on)
        mirrorGroupSwitch(selectedGroup, taken.on != 0);
    if (entry == taken)
        return;
    entry = taken;
    if (QTableWidgetItem* current = ui->sources->currentItem(); current && store)
        store->setGroupRates(current->data(Qt::UserRole).toInt(), rates);
    updateColor();
}

void TabRDS::mirrorGroupSwitch(int entry, bool on)
{
    // The forms' own rate slots must not take the switch back into the
    // table while it follows the entry.
    const bool wasLoading = loading;
    loading = true;
    for (const auto& [group, box] : groupSwitches()) {
        if (group == entry)
            box->setChecked(on);
    }
    if (entry == kGroup2)
        uiRT->sendRT->setChecked(on);
    loading = wasLoading;
}

QList<std::pair<int, QGroupBox*>> TabRDS::groupSwitches() const
{
    return {{kGroup0, ui0->group00}, {kGroup1, ui0->group01},  {kGroup4, ui0->group04},
            {kGroup8, ui0->group08}, {kGroup10, ui0->group10}, {kGroup14, ui0->group14},
            {kGroup15, ui0->group15}};
}

void TabRDS::rateChanged()
{
    QTableWidgetItem* current = ui->sources->currentItem();
    if (loading || !current || !store)
        return;
    takeFormRates();
    store->setGroupRates(current->data(Qt::UserRole).toInt(), rates);
    updateColor();
}

void TabRDS::takeFormRates()
{
    struct FormRate
    {
        int entry;
        bool on;
        int rate;
        bool fill;
        bool rateWhenOff; // the rate counts even while the switch is off
    };
    const FormRate formRates[] = {
        {kGroup0, ui0->group00->isChecked(), ui0->rate0->value(), ui0->fill0->isChecked(), false},
        {kGroup1, ui0->group01->isChecked(), ui0->rate1->value(), false, false},
        {kGroup2, uiRT->sendRT->isChecked(), uiRT->rateRT->value(), uiRT->fill2->isChecked(),
         false},
        {kGroup3, true, ui0->rate3->value(), false, true},
        {kGroup4, ui0->group04->isChecked(), kClockTimePerMinute, false, false},
        {kGroup8, ui0->group08->isChecked(), ui0->rate8->value(), ui0->fill8->isChecked(), false},
        {kGroup10, ui0->group10->isChecked(), ui0->rate10->value(), false, false},
        {kGroup14, ui0->group14->isChecked(), ui0->rate14->value(), ui0->fill14->isChecked(),
         false},
        {kGroup15, ui0->group15->isChecked(), ui0->rate15->value(), ui0->fill15->isChecked(),
         false},
        // eRT and RT+ last, RT+ after eRT: when both name one group, RT+ wins.
        // A group their combo does not list (a stored one of another kind)
        // leaves its entry alone.
        {comboGroup(uiRT->eRTgroup), uiRT->sendRTe->isChecked(), uiRT->rateRTe->value(),
         uiRT->fillERT->isChecked(), true},
        {comboGroup(uiRT->pRTgroup), uiRT->gRTplus->isChecked(), uiRT->rateRTp->value(), false,
         true},
    };
    for (const FormRate& form : formRates) {
        if (form.entry < 0 || form.entry >= kVersionB)
            continue;
        GroupRate& entry = rates.at(form.entry);
        entry.on = form.on ? 1 : 0;
        entry.rate.at(0) = signedRate(form.on || form.rateWhenOff ? form.rate : 0, form.fill);
    }
}

void TabRDS::updateColor()
{
    const QPalette plain = groupButtonPalette;
    const QPalette withRates = blendedPalette(plain, QPalette::Button, Qt::yellow);
    const QPalette onStream0 = blendedPalette(plain, QPalette::Button, Qt::green);
    const QPalette onStreams = blendedPalette(plain, QPalette::Button, Qt::blue);
    for (QAbstractButton* button : groupButtons->buttons()) {
        const int id = groupButtons->id(button);
        if (id < 0 || id >= GroupRate::kGroupCount)
            continue;
        const GroupRate& entry = rates.at(id);
        if (entry.on)
            button->setPalette(anyRate(entry, 1) ? onStreams : onStream0);
        else
            button->setPalette(anyRate(entry, 0) ? withRates : plain);
    }
}
