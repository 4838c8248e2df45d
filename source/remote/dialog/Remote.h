#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class RemoteUI;
}

// Sets the port of the remote-control server and the start port of the RDS
// data input servers. It stores nothing: the caller reads both ports after
// the dialog was accepted.
class Remote : public QDialog
{
    Q_OBJECT
public:
    // Below 80 lie the ports of well-known services.
    static constexpr int kLowestPort = 80;
    static constexpr int kHighestControlPort = 65535;
    // The RDS start port stops at 65440, so channel 96 still gets a port.
    static constexpr int kHighestRdsStartPort = 65440;

    Remote(quint16 portApp, quint16 portRDS, QWidget* parent = nullptr);
    ~Remote() override;

    quint16 portApp() const;
    quint16 portRDS() const;

private:
    std::unique_ptr<Ui::RemoteUI> ui;
};
