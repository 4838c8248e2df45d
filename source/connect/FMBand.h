#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class FMBandUI;
}

// Chooses the FM band the boards generate and their internal attenuator.
// The caller reads band() and attenuation() only after the dialog was
// accepted.
class FMBand : public QDialog
{
    Q_OBJECT
public:
    // Bands: 0 Europe, 1 Japan, 2 Brazil; any other number checks none.
    FMBand(QWidget* parent, int band, int attenuation);
    ~FMBand() override;

    // Europe also when no band is checked.
    int band() const;
    int attenuation() const;

private:
    std::unique_ptr<Ui::FMBandUI> ui;
};
