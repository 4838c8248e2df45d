#pragma once

#include "board/BoardInfo.h"
#include "settings/ChannelConfig.h"
#include "settings/Observer.h"

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QSharedPointer>

#include <memory>

class FMSettings;
class Lister;
class QLabel;
class QMenu;
class Slider;
struct AudioSource;
struct RDSSource;
namespace Ui {
class FMChannel;
}

// The strip of one channel on the channel page: used switch, frequency,
// gain, volume, audio and RDS source, status light, configuration and mute.
// It edits the channel only through the store's keys and shows what the
// store holds and publishes; it never talks to a board.
class FMChannel : public QFrame, public Observer
{
    Q_OBJECT
public:
    FMChannel(int channel, QWidget* parent = nullptr);
    ~FMChannel() override;

    int channel() const { return number; }
    bool isUsed() const { return record.used; }
    // Drops the subscriptions held with the previous store, then reads and
    // shows the channel from the new one.
    void refresh(QSharedPointer<FMSettings> settings);
    void updateInfo(const BoardInfo& info);
    void notify(SetValue* event) override;

    // The popups, for the window's keyboard and for tests.
    Slider* frequencySlider() const { return freqSlider; }
    Slider* gainSlider() const { return gainPopup; }
    Slider* volumeSlider() const { return volumePopup; }
    Lister* audioChooser() const { return audioList; }
    Lister* rdsChooser() const { return rdsList; }

public slots:
    void setFreq(double mhz);
    void setGain(double db);
    void setVolume(double percent);
    void setAudioID(int id, bool write = true);
    void setRDSID(int id, bool write = true);
    void setAudioName();
    void setRDSName(const QString& remote = QString());
    void setMute(bool mute);
    void setUsed(bool used);
    void config();
    void openRDS();
    void findRDS();
    void findTMC();
    void findAudio();
    void sliderOut();
    void sliderHide();

signals:
    void showAudio(int audioId);
    void showRDS(int rdsId, int tab = -1);
    void showTMC(int tmcId);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Paints the play position mark over the audio field's background.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int fittingPixels(int pixels) const;
    void setBand(int band);
    void showChanged(const ChannelConfig& before, bool rdsChosen);
    void readChangedField(const QString& key, const QVariant& value);
    void showGain();
    void updateColor();
    bool inBand() const;
    void showBandTip();
    void paintPlayPosition(int permille);
    void followPlayRate(unsigned rate);
    void notifyChannel(const QString& key, const QVariant& value);
    void notifyInfo(const QString& key, const QVariant& value);
    void notifyRemote(const QString& sender);
    void readRecord();
    void subscribeAudio(bool on);
    void subscribeRDS(bool on);
    void follow(const QStringList& keys, bool on);
    QString audioTip(const AudioSource& source) const;
    QString songTip() const;
    QString rdsTip(const RDSSource& source) const;
    QString rdsFacts(const RDSSource& source) const;
    void writeKey(const QString& name, int value);
    void moveBelow(Slider* slider, QLabel* label);
    void openChooser(Lister* chooser, QLabel* field, const QMap<int, QString>& names, int current);
    QLabel* fieldAt(const QPoint& position) const;

    const int number;
    ChannelConfig record;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<Ui::FMChannel> ui;
    Slider* freqSlider;
    Slider* gainPopup;
    Slider* volumePopup;
    Lister* audioList;
    Lister* rdsList;
    QMenu* menu;
    double bandMin = 87.5;
    double bandMax = 108.0;
    double distance = 100.0;
    QRgb stripColour = 0xFF108010;
    QString song;
    bool remoteRDS = false;
    QString remoteSender;
    int labelPixels = 0;
    int marker = -1;       // in pixels of the audio field; -1: none drawn
    int playPermille = -1; // the newest position, marked once the strip is in sight
    QList<QPointer<QWidget>> waiting;
};
