#pragma once

#include "settings/ChannelConfig.h"
#include "settings/Observer.h"

#include <QMap>
#include <QWidget>

#include <array>

// The FM band from 76 to 108 MHz as a strip in the tool bar: the parts
// outside the chosen band hatched, and while the boards are on air one bar
// per used channel (height from its gain, colour from the distance to its
// neighbours) with marks where third-order intermodulation products land.
// It reads the store's notifications and never writes to the store.
class Spectrum : public QWidget, public Observer
{
    Q_OBJECT
public:
    static constexpr int kChannels = 96;

    explicit Spectrum(QWidget* parent = nullptr);
    ~Spectrum() override;

    void setChannel(const ChannelConfig& config);
    void setChannelCount(int count);
    void setBand(int band, int attenuation);
    void setOnAir(bool on);
    void notify(SetValue* event) override;

    int channelCount() const { return count; }
    bool showsIntermod() const { return showIntermod; }
    double bandMinimum() const { return bandMin; }
    double bandMaximum() const { return bandMax; }
    // Frequency in 10 kHz units -> number of products landing there.
    const QMap<int, int>& intermodulation();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void channelsChanged();
    void recount();
    int xOf(double mhz) const;
    void paintScale(QPainter& painter);
    void paintLabels(QPainter& painter);
    void paintIntermod(QPainter& painter);
    void paintChannels(QPainter& painter);

    std::array<ChannelConfig, kChannels> channels{};
    std::array<double, kChannels> dist{};
    double scaleMin = 76.0;
    double scaleSpan = 32.0;
    bool onAir = false;
    bool showIntermod = true;
    int count = 24;
    int attenuation = 0;
    double bandMin = 76.0;
    double bandMax = 108.0;
    QMap<int, int> intermod;
    // A project load hands all 96 records in turn: the map is counted once
    // before it is next needed, not after each of them.
    bool intermodStale = true;
};
