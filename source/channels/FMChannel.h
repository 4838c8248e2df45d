#pragma once

#include "board/BoardInfo.h"

#include <QLabel>
#include <QSharedPointer>

class FMSettings;

// Channel strip, for now a placeholder: the strip with its switches, sliders
// and status light comes with the channel page. It already writes the
// channel's "used" key, which the main window's channel keys toggle.
class FMChannel : public QLabel
{
    Q_OBJECT
public:
    FMChannel(int channel, QWidget* parent = nullptr);

    int channel() const { return number; }
    void refresh(QSharedPointer<FMSettings> settings);
    void updateInfo(const BoardInfo& info);
    bool isUsed() const;
    void setUsed(bool used);

signals:
    void showAudio(int source);
    void showRDS(int source, int tab);
    void showTMC(int source);

private:
    void showState();

    const int number;
    QSharedPointer<FMSettings> store;
};
