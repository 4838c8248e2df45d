#pragma once

#include "settings/ChannelConfig.h"

#include <QDialog>
#include <QSharedPointer>

#include <memory>

class FMSettings;
namespace Ui {
class ConfigFM;
}

// The modal dialog of one channel's modulation: pre-emphasis, deviation,
// sample rate (optionally following the song) and stereo or mono, written
// to this channel or copied to a range of channels.
class FMConfig : public QDialog
{
    Q_OBJECT
public:
    FMConfig(int channel, QSharedPointer<FMSettings> store, QWidget* parent = nullptr);
    ~FMConfig() override;

public slots:
    void accept() override;

private:
    void showRecord();
    void readControls();
    bool copyRange(int& first, int& last) const;
    void markRange(int first, int last);
    void clearRangeMark();

    std::unique_ptr<Ui::ConfigFM> ui;
    QSharedPointer<FMSettings> store;
    ChannelConfig record;
};
