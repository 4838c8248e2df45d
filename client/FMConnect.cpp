#include "client/FMConnect.h"

#include "ui_ConnectUI.h"

#include <QDebug>

FMConnect::FMConnect(const QString& host, quint16 port, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(new Ui::ConnectUI)
{
    ui->setupUi(this);
    ui->host->setText(host);
    ui->port->setValue(port);
    connect(ui->Bset, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Bcancel, &QPushButton::clicked, this, &QDialog::reject);
}

FMConnect::~FMConnect()
{
    qDebug("~Con");
    delete ui;
}

QString FMConnect::host() const
{
    return ui->host->text();
}

quint16 FMConnect::port() const
{
    return quint16(ui->port->value());
}
