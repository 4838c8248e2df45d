#include "channels/FMConfig.h"

#include "settings/FMSettings.h"

#include "ui_ConfigFM.h"

#include <QButtonGroup>
#include <QToolTip>

#include <algorithm>

namespace {
constexpr int kRate32 = 32000;
constexpr int kRate44 = 44100;
constexpr int kRate48 = 48000;
constexpr int kDevi50 = 50;
constexpr int kDevi75 = 75;
const QString kBadField = QStringLiteral("QSpinBox { border: 2px solid #c03030; }");

void group(QWidget* owner, std::initializer_list<QAbstractButton*> buttons)
{
    auto* exclusive = new QButtonGroup(owner);
    for (QAbstractButton* button : buttons)
        exclusive->addButton(button);
}
} // namespace

FMConfig::FMConfig(int channel, QSharedPointer<FMSettings> settings, QWidget* parent)
    : QDialog(parent, Qt::WindowCloseButtonHint), ui(std::make_unique<Ui::ConfigFM>()),
      store(std::move(settings))
{
    ui->setupUi(this);
    setWindowTitle(tr("Kanal %1 Editor").arg(channel));
    group(this, {ui->preno, ui->pre50, ui->pre75});
    group(this, {ui->kHz50, ui->kHz75, ui->kHz});
    group(this, {ui->mono, ui->stereo});
    group(this, {ui->r32, ui->r44, ui->r48});
    record = store ? store->channel(channel) : ChannelConfig();
    record.channel = channel;
    showRecord();
    ui->setVon->setValue(channel);
    ui->setBis->setValue(channel);
    ui->rateNote->setVisible(ui->rAuto->isChecked());
    connect(ui->rAuto, &QCheckBox::toggled, ui->rateNote, &QWidget::setVisible);
    for (QSpinBox* end : {ui->setVon, ui->setBis})
        connect(end, &QSpinBox::valueChanged, this, &FMConfig::clearRangeMark);
}

FMConfig::~FMConfig() = default;

void FMConfig::showRecord()
{
    QRadioButton* emphasis[] = {ui->preno, ui->pre50, ui->pre75};
    emphasis[std::clamp(record.emph, 0, 2)]->setChecked(true);
    if (record.devi == kDevi50)
        ui->kHz50->setChecked(true);
    else if (record.devi == kDevi75)
        ui->kHz75->setChecked(true);
    else
        ui->kHz->setChecked(true);
    ui->free->setValue(record.devi);
    (record.mono ? ui->mono : ui->stereo)->setChecked(true);
    if (record.rate == kRate32)
        ui->r32->setChecked(true);
    else if (record.rate == kRate48)
        ui->r48->setChecked(true);
    else
        ui->r44->setChecked(true);
    ui->rAuto->setChecked(record.autoRate);
}

void FMConfig::readControls()
{
    record.emph = ui->preno->isChecked() ? 0 : ui->pre50->isChecked() ? 1 : 2;
    record.devi = ui->kHz50->isChecked()   ? kDevi50
                  : ui->kHz75->isChecked() ? kDevi75
                                           : ui->free->value();
    record.mono = ui->mono->isChecked();
    record.rate = ui->r32->isChecked() ? kRate32 : ui->r48->isChecked() ? kRate48 : kRate44;
    record.autoRate = ui->rAuto->isChecked();
}

// False for a range that ends before it starts.
bool FMConfig::copyRange(int& first, int& last) const
{
    first = ui->setAll->isChecked() ? 1 : ui->setVon->value();
    last = ui->setAll->isChecked() ? FMSettings::kChannelCount : ui->setBis->value();
    return first <= last;
}

// The end of the range is framed red and says what is wrong, there and at
// once: a dialog that only stays open looks as if OK did not work.
void FMConfig::markRange(int first, int last)
{
    const QString reason =
        tr("Der Bereich endet vor seinem Anfang (%1 bis %2): bitte das Ende auf %1 oder höher "
           "setzen.")
            .arg(first)
            .arg(last);
    ui->setBis->setStyleSheet(kBadField);
    ui->setBis->setToolTip(reason);
    ui->setBis->setFocus();
    QToolTip::showText(ui->setBis->mapToGlobal(QPoint(0, ui->setBis->height())), reason,
                       ui->setBis);
}

void FMConfig::clearRangeMark()
{
    ui->setBis->setStyleSheet(QString());
    ui->setBis->setToolTip(QString());
}

// A range that ends before it starts keeps the dialog open with the edits,
// so the user can mend the end instead of losing everything typed.
void FMConfig::accept()
{
    readControls();
    int first = record.channel;
    int last = record.channel;
    if (ui->copyTo->isChecked() && !copyRange(first, last)) {
        markRange(first, last);
        return;
    }
    for (int channel = first; store && channel <= last; ++channel)
        store->setChannelConfig(channel, record);
    QDialog::accept();
}
