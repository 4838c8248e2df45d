#include "remote/dialog/Remote.h"

#include "ui_RemoteUI.h"

Remote::Remote(quint16 portApp, quint16 portRDS, QWidget* parent)
    : QDialog(parent, Qt::WindowCloseButtonHint), ui(std::make_unique<Ui::RemoteUI>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("Remote"));
    ui->portApp->setRange(kLowestPort, kHighestControlPort);
    ui->portRDS->setRange(kLowestPort, kHighestRdsStartPort);
    connect(ui->Bsave, &QPushButton::clicked, this, &Remote::accept);
    connect(ui->Bcancel, &QPushButton::clicked, this, &Remote::reject);
    ui->portApp->setValue(portApp);
    ui->portRDS->setValue(portRDS);
}

Remote::~Remote() = default;

quint16 Remote::portApp() const
{
    return quint16(ui->portApp->value());
}

quint16 Remote::portRDS() const
{
    return quint16(ui->portRDS->value());
}
