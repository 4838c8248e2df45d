#pragma once

#include <QSharedPointer>
#include <QWidget>

class DynModel;
class FMSettings;
class QSplitter;

// Event timeline, for now a placeholder: recording key changes as timed
// events and playing them back comes with the timeline. It already keeps
// the player's state so the player form shows what was pressed.
class Dynamic : public QWidget
{
    Q_OBJECT
public:
    explicit Dynamic(QWidget* parent = nullptr);

    DynModel* model() const { return events; }
    void setSettings(QSharedPointer<FMSettings> settings);
    QSharedPointer<FMSettings> settings() const { return store; }
    void setSplitter(QSplitter* splitter);

public slots:
    void onPlay();
    void onPause();
    void onRecNow();
    void onRecord();
    void onClear();
    void onRepeat(bool on);
    void onList(bool on);
    void onTime(int ms);
    void update();

signals:
    void msTime(int ms);
    void setPlay(bool on);
    void setPause(bool on);
    void setRepeat(bool on);
    void showList(bool on);

private:
    DynModel* events;
    QSplitter* split = nullptr;
    QSharedPointer<FMSettings> store;
    int position = 0;
};
