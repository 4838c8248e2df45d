#pragma once

#include <QDialog>

namespace Ui {
class ConnectUI;
}

// Asks for the host and port of the server to connect to. After the dialog
// is accepted the caller reads host() and port().
class FMConnect : public QDialog
{
    Q_OBJECT

public:
    FMConnect(const QString& host, quint16 port, QWidget* parent = nullptr);
    ~FMConnect() override;

    QString host() const;
    quint16 port() const;

private:
    Ui::ConnectUI* ui;
};
