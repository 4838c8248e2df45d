#include "remote/dialog/Remote.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

constexpr int kHighestPort = 65535;

QSpinBox* portField(QWidget* parent, const QString& name, quint16 port)
{
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(0, kHighestPort);
    field->setValue(port);
    return field;
}

} // namespace

Remote::Remote(quint16 portApp, quint16 portRDS, QWidget* parent)
    : QDialog(parent), appField(portField(this, QStringLiteral("portApp"), portApp)),
      rdsField(portField(this, QStringLiteral("portRDS"), portRDS))
{
    setObjectName(QStringLiteral("Remote"));
    setWindowTitle(tr("Fernsteuerung"));
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Steuerung:"), appField);
    layout->addRow(tr("RDS-Daten ab:"), rdsField);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &Remote::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &Remote::reject);
    layout->addRow(buttons);
}

quint16 Remote::portApp() const
{
    return quint16(appField->value());
}

quint16 Remote::portRDS() const
{
    return quint16(rdsField->value());
}
