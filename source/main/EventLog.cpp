#include "main/EventLog.h"

#include "settings/FMSettings.h"
#include "settings/SetHandler.h"

#include <QDebug>

EventLog::EventLog(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("eventLogText"));
    setReadOnly(true);
    installEventFilter(new SetHandler(this));
}

EventLog::~EventLog()
{
    qDebug("~log");
    if (store)
        store->unsubscribeAll(this);
}

void EventLog::observeAll(QSharedPointer<FMSettings> settings)
{
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
}

void EventLog::notify(SetValue*) {}
