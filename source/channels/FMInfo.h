#pragma once

#include "board/BoardInfo.h"
#include "settings/ChannelConfig.h"
#include "settings/ChannelStatus.h"
#include "settings/Observer.h"

#include <QSharedPointer>
#include <QWidget>

#include <functional>

class FMSettings;
class QPainter;
class QTimer;

// The status light of a channel strip: a 3 x 3 matrix of lamps for
// pre-emphasis, deviation and sample rate, the stereo/mono symbol and three
// bars for the PCM and RDS buffers and the multiplex power. A click on a lamp
// writes its value to the store; the tool tip explains what lies under the
// pointer. The light never talks to the board.
class FMInfo : public QWidget, public Observer
{
    Q_OBJECT
public:
    // Seconds since the epoch; the blink rule of the file-rate lamps reads it.
    using Clock = std::function<qint64()>;

    // The hit areas, indexed as the light names them.
    enum Area
    {
        EmphNone,   // r0
        Emph50,     // r1
        Emph75,     // r2
        Devi50,     // r3
        Devi75,     // r4
        DeviOther,  // r5
        Rate32,     // r6
        Rate44,     // r7
        Rate48,     // r8
        StereoMono, // r9
        PcmBar,     // r10
        RdsBar,     // r11
        PowerBar,   // r12
        kAreaCount
    };

    enum class Lamp
    {
        Green,
        Dark,
        Red,
        Yellow
    };

    explicit FMInfo(QWidget* parent = nullptr);
    ~FMInfo() override;

    void setStore(QSharedPointer<FMSettings> settings);
    void setState(const ChannelConfig& channel);
    void setStatus(const ChannelStatus& channelStatus);
    void setBoardInfo(const BoardInfo& info);
    void setAudioType(int type);
    void setPlayRate(unsigned hz);
    void setRate(unsigned hz);
    void notify(SetValue* event) override;

    QString toolTipText(const QPoint& position) const;
    // The area of the given index for the widget's current size.
    QRect area(int index) const;
    int otherDeviation() const { return otherDevi; }
    const ChannelConfig& state() const { return config; }

    // Replaces the wall clock, so a test decides which second it is.
    static void setClock(Clock clock);

    // Paints one lamp filling its rectangle, lit from one pixel up and left.
    static void drawLed(QPainter& painter, const QRect& rect, int d, Lamp lamp);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Geometry
    {
        int d = 0;
        int x0 = 0;
    };

    Geometry geometry() const;
    QRect statusArea() const;
    static int statusTop(const Geometry& g);
    int hitArea(const QPoint& position) const;
    void takeRecord(const ChannelConfig& channel);
    void stampNow();
    void writeKey(const char* name, int value);
    void click(int index);
    void showTip(const QPoint& local, const QPoint& global) const;
    QString emphasisTip() const;
    QString rateTip() const;
    QString pcmTip() const;
    QString rdsTip() const;
    QString powerTip() const;
    void paintBackground(QPainter& painter, const Geometry& g);
    void paintLamps(QPainter& painter, int d, Lamp fileLamp);
    void paintRateRow(QPainter& painter, int d, Lamp fileLamp);
    void paintStereo(QPainter& painter, const Geometry& g);
    void paintPowerBar(QPainter& painter, const Geometry& g);
    void paintBufferBars(QPainter& painter, const Geometry& g);
    void paintRateFrames(QPainter& painter, const Geometry& g);
    void paintAlarms(QPainter& painter, const Geometry& g);

    QSharedPointer<FMSettings> store;
    ChannelConfig config;
    quint32 stamp = 0;
    int otherDevi = 0;
    int audioType = 0;
    quint32 playRate = 0;
    BoardInfo boardInfo;
    ChannelStatus status;
    QTimer* repaintTimer;
};
