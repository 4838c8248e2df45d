#include "main/EventLog.h"

#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"
#include "ui_EventLogUI.h"

#include <QDateTime>
#include <QDebug>

EventLog::EventLog(QWidget* parent) : QWidget(parent), ui(new Ui::EventLogUI)
{
    ui->setupUi(this);
    installEventFilter(new SetHandler(this));
}

EventLog::~EventLog()
{
    qDebug("~log");
    if (store)
        store->unsubscribeAll(this);
    delete ui;
}

void EventLog::observeAll(QSharedPointer<FMSettings> settings)
{
    // The old store may outlive this call in other holders: it must stop
    // posting its changes here.
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    if (store)
        store->subscribe(QStringLiteral("*"), this);
}

void EventLog::notify(SetValue* event)
{
    const QString key = event->key.toLower().replace(QLatin1Char('/'), QLatin1Char('.'));
    if (key.startsWith(QLatin1String("board")) || key.startsWith(QLatin1String("rdsin"))) {
        qDebug("log: skip %s %s", qPrintable(key), qPrintable(debugText(event->value)));
        return;
    }
    if (isRunTimeKey(key))
        return;
    append(key + QLatin1Char(' ') + event->value.toString());
}

// What the boards publish continuously: status, song changes, RDS log lines,
// counters, play positions and fill levels.
bool EventLog::isRunTimeKey(const QString& key)
{
    if (key.startsWith(QLatin1String("chstatus")) || key == QLatin1String("songinfo"))
        return true;
    if (!key.startsWith(QLatin1String("chinfo")))
        return false;
    static const QLatin1String kRunTimeParts[] = {
        QLatin1String("rdslog"), QLatin1String("rdscount"), QLatin1String("playpos"),
        QLatin1String("rdsperce")};
    for (QLatin1String part : kRunTimeParts) {
        if (key.contains(part))
            return true;
    }
    return key.endsWith(QLatin1String("dist"));
}

QString EventLog::debugText(const QVariant& value)
{
    const QString text = value.toString();
    bool isNumber = false;
    const qlonglong number = text.toLongLong(&isNumber);
    if (!isNumber)
        return text;
    const quint64 magnitude = number < 0 ? 0 - quint64(number) : quint64(number);
    const QString hex = QStringLiteral("0x") + QString::number(magnitude, 16);
    return number < 0 ? QLatin1Char('-') + hex : hex;
}

void EventLog::append(const QString& text)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz: "));
    ui->text->appendPlainText(stamp + text);
}
