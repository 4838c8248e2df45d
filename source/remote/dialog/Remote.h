#pragma once

#include <QDialog>

class QSpinBox;

// Port dialog of the remote control, for now a placeholder with the two
// port fields; the dialog of the remote control servers comes later.
class Remote : public QDialog
{
    Q_OBJECT
public:
    Remote(quint16 portApp, quint16 portRDS, QWidget* parent = nullptr);

    quint16 portApp() const;
    quint16 portRDS() const;

private:
    QSpinBox* appField;
    QSpinBox* rdsField;
};
