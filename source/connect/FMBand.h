#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;

// Band and attenuator dialog, for now a placeholder with a band choice and
// an attenuation field; the dialog of the connection page comes later.
class FMBand : public QDialog
{
    Q_OBJECT
public:
    FMBand(int band, int attenuation, QWidget* parent = nullptr);

    int band() const;
    int attenuation() const;

private:
    QComboBox* bandChoice;
    QSpinBox* attenuationField;
};
