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
    if (event->key.startsWith(QLatin1String("board"), Qt::CaseInsensitive) ||
        event->key.startsWith(QLatin1String("rdsin"), Qt::CaseInsensitive)) {
        qDebug("log: skip %s %s", qPrintable(shownKey(event->key)),
               qPrintable(debugText(event->value)));
        return;
    }
    if (isVisible()) {
        append(lineOf(event->key, event->value));
        return;
    }
    // Out of sight the change is kept as it came: its text is made when the
    // log is shown, and most hidden lines are pushed out before that.
    keep({QDateTime::currentMSecsSinceEpoch(), QString(), event->key, event->value});
}

QString EventLog::shownKey(const QString& key)
{
    return key.toLower().replace(QLatin1Char('/'), QLatin1Char('.'));
}

QString EventLog::lineOf(const QString& key, const QVariant& value)
{
    return shownKey(key) + QLatin1Char(' ') + value.toString();
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
    keep({QDateTime::currentMSecsSinceEpoch(), text, QString(), QVariant()});
}

void EventLog::keep(Line&& line)
{
    waiting.append(std::move(line));
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
        lines.append(stamped(QDateTime::fromMSecsSinceEpoch(line.msecsSinceEpoch),
                             line.key.isEmpty() ? line.text : lineOf(line.key, line.value)));
    waiting.clear();
    ui->text->appendPlainText(lines.join(QLatin1Char('\n')));
}
