#pragma once

#include <QWidget>

class Spectrum;

namespace Ui {
class FlagUI;
}

// The end of the tool bar: the band display, the flag of the chosen FM band
// and the on-air icon. A click on the flag or on the attenuation corner of
// the band display asks for the band dialog; a click on the icon asks to
// switch the transmitters on or off.
class TabFlag : public QWidget
{
    Q_OBJECT
public:
    explicit TabFlag(QWidget* parent = nullptr);
    ~TabFlag() override;

    Spectrum* spectrum() const;
    bool onAir() const { return air; }
    int band() const { return shownBand; }
    int attenuation() const { return shownAttenuation; }
    void setOnAir(bool on);
    void setBand(int band, int attenuation);

signals:
    void clickOnAir();
    void clickBand();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool inAttenuationCorner(const QPoint& position) const;

    Ui::FlagUI* ui;
    bool air = false;
    int shownBand = 0;
    int shownAttenuation = 0;
};
