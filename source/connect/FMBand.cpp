#include "connect/FMBand.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kLowestAttenuation = -30;

} // namespace

FMBand::FMBand(int band, int attenuation, QWidget* parent)
    : QDialog(parent), bandChoice(new QComboBox(this)), attenuationField(new QSpinBox(this))
{
    setObjectName(QStringLiteral("FMBand"));
    setWindowTitle(tr("FM Band"));
    bandChoice->setObjectName(QStringLiteral("band"));
    bandChoice->addItems({tr("Europa"), tr("Japan"), tr("Brasilien")});
    bandChoice->setCurrentIndex(band);
    attenuationField->setObjectName(QStringLiteral("attenuation"));
    attenuationField->setRange(kLowestAttenuation, 0);
    attenuationField->setSuffix(QStringLiteral(" dB"));
    attenuationField->setValue(attenuation);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bandChoice);
    layout->addWidget(attenuationField);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FMBand::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FMBand::reject);
    layout->addWidget(buttons);
}

int FMBand::band() const
{
    return bandChoice->currentIndex();
}

int FMBand::attenuation() const
{
    return attenuationField->value();
}
