#include "dynamic/timeline/Dynamic.h"

#include "dynamic/timeline/DynModel.h"

#include "settings/FMSettings.h"

#include <QSplitter>

Dynamic::Dynamic(QWidget* parent) : QWidget(parent), events(new DynModel(this))
{
    setObjectName(QStringLiteral("timeline"));
}

void Dynamic::setSettings(QSharedPointer<FMSettings> settings)
{
    store = std::move(settings);
}

void Dynamic::setSplitter(QSplitter* splitter)
{
    split = splitter;
}

void Dynamic::onPlay()
{
    emit setPause(false);
    emit setPlay(true);
}

void Dynamic::onPause()
{
    emit setPlay(false);
    emit setPause(true);
}

void Dynamic::onRecNow() {}

void Dynamic::onRecord() {}

void Dynamic::onClear()
{
    onTime(0);
}

void Dynamic::onRepeat(bool on)
{
    emit setRepeat(on);
}

void Dynamic::onList(bool on)
{
    emit showList(on);
}

void Dynamic::onTime(int ms)
{
    if (ms == position)
        return;
    position = ms;
    emit msTime(ms);
}

void Dynamic::update()
{
    QWidget::update();
}
