#include "connect/FMCalib.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

FMCalib::FMCalib(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FMCalib"));
    setWindowTitle(tr("Modulator konfigurieren"));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &FMCalib::reject);
    layout->addWidget(buttons);
}
