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
    if (store) {
        store->subscribe(QStringLiteral("*"), this);
        // The values the boards stream are never shown: not even posted.
        store->skipRunTimeValues(this);
    }
}

void EventLog::notify(SetValue* event)
{
    // Run-time keys arrive thousands of times a second: dropped before any
    // text is made of them.
    if (isRunTimeKey(event->key))
        return;
    const QString key = event->key.toLower().replace(QLatin1Char('/'), QLatin1Char('.'));
    if (key.startsWith(QLatin1String("board")) || key.startsWith(QLatin1String("rdsin"))) {
        qDebug("log: skip %s %s", qPrintable(key), qPrintable(debugText(event->value)));
        return;
    }
    append(key + QLatin1Char(' ') + event->value.toString());
}

// What the boards publish continuously: status, song changes, RDS log lines,
// counters, play positions and fill levels. The key in any letter case,
// with '.' or '/'.
bool EventLog::isRunTimeKey(QStringView key)
{
    if (key.startsWith(u"chstatus", Qt::CaseInsensitive) ||
        key.compare(u"songinfo", Qt::CaseInsensitive) == 0)
        return true;
    if (!key.startsWith(u"chinfo", Qt::CaseInsensitive))
        return false;
    static const QStringView kRunTimeParts[] = {u"rdslog", u"rdscount", u"playpos", u"rdsperce"};
    for (QStringView part : kRunTimeParts) {
        if (key.contains(part, Qt::CaseInsensitive))
            return true;
    }
    return key.endsWith(u"dist", Qt::CaseInsensitive);
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
    if (isVisible()) {
        ui->text->appendPlainText(stamped(QDateTime::currentDateTime(), text));
        return;
    }
    waiting.append({QDateTime::currentMSecsSinceEpoch(), text});
    // The view keeps no more than this either.
    if (waiting.size() > kMaxLines)
        waiting.removeFirst();
}

QString EventLog::stamped(const QDateTime& time, const QString& text)
{
    return time.toString(QStringLiteral("hh:mm:ss.zzz: ")) + text;
}

void EventLog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showWaitingLines();
}

void EventLog::showWaitingLines()
{
    if (waiting.isEmpty())
        return;
    QStringList lines;
    lines.reserve(waiting.size());
    for (const Line& line : std::as_const(waiting))
        lines.append(stamped(QDateTime::fromMSecsSinceEpoch(line.msecsSinceEpoch), line.text));
    waiting.clear();
    ui->text->appendPlainText(lines.join(QLatin1Char('\n')));
}
