#include "connect/FMBand.h"

#include "ui_FMBandUI.h"

#include <QRadioButton>

FMBand::FMBand(QWidget* parent, int band, int attenuation)
    : QDialog(parent, Qt::WindowCloseButtonHint), ui(std::make_unique<Ui::FMBandUI>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("FMBand"));
    connect(ui->dialogButtonBox, &QDialogButtonBox::accepted, this, &FMBand::accept);
    connect(ui->dialogButtonBox, &QDialogButtonBox::rejected, this, &FMBand::reject);
    ui->att->setValue(attenuation);
    QRadioButton* const buttons[] = {ui->bandEU, ui->bandJP, ui->bandBR};
    const bool known = band >= 0 && band < int(std::size(buttons));
    if (known)
        buttons[band]->setChecked(true);
    (known ? buttons[band] : ui->bandEU)->setFocus();
}

FMBand::~FMBand() = default;

int FMBand::band() const
{
    if (ui->bandBR->isChecked())
        return 2;
    if (ui->bandJP->isChecked())
        return 1;
    return 0;
}

int FMBand::attenuation() const
{
    return ui->att->value();
}
