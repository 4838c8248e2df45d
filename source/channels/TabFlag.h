#pragma once

#include <QLabel>

class Spectrum;

// Band flag at the end of the tool bar, for now a placeholder: the painted
// flag with the band display comes with the channel page. A click opens the
// band dialog; a click with Control held toggles on air.
class TabFlag : public QLabel
{
    Q_OBJECT
public:
    explicit TabFlag(QWidget* parent = nullptr);

    Spectrum* spectrum() const { return display; }
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
    void showState();

    Spectrum* display;
    bool air = false;
    int shownBand = 0;
    int shownAttenuation = 0;
};
