// The timeline's roll of timed commands in the project file ("events.1").
#include "settings/FMSettings.h"

#include <QDebug>

#include <algorithm>

namespace {

QString rowText(const Event& event)
{
    if (event.command.isEmpty())
        return QString::number(event.time);
    return QString::number(event.time) + QLatin1Char(' ') + event.command;
}

QString rowKey(const QString& group, quint32 row)
{
    return group + QLatin1Char('/') + QString::number(row);
}

} // namespace

void FMSettings::setRoll(const QString& group, const QList<Event>& events,
                         const QSet<int>& expanded, bool repeat)
{
    qDebug("Evt: set roll %s %d", qPrintable(group), int(events.size()));
    rawRemove(group);
    for (int i = 0; i < events.size(); ++i)
        rawStore(rowKey(group, quint32(i)), rowText(events[i]));
    eventOption(group, expanded, repeat);
    dirty.store(true, std::memory_order_release);
}

void FMSettings::setEvent(quint32 row, const QString& group, const Event& event)
{
    qDebug("Evt: set event %u %u %s", row, event.time, qPrintable(event.command));
    rawStore(rowKey(group, row), rowText(event));
}

void FMSettings::delEvent(quint32 row, const QString& group)
{
    qDebug("Evt: del event in row %u", row);
    rawRemove(rowKey(group, row));
}

void FMSettings::eventOption(const QString& group, const QSet<int>& expanded, bool repeat)
{
    QStringList rows;
    for (int row : expanded)
        rows.append(QString::number(row, 16));
    rawStore(group + QLatin1String("/expand"), rows.join(QLatin1Char(' ')));
    rawStore(group + QLatin1String("/repeat"), repeat);
}

QList<Event> FMSettings::events(const QString& group, QSet<int>& expanded, bool& repeat) const
{
    repeat = rawValue(group + QLatin1String("/repeat"), false).toBool();
    expanded.clear();
    const QString expandText = rawValue(group + QLatin1String("/expand")).toString();
    for (const QString& part : expandText.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint row = part.toUInt(&ok, 16);
        expanded.insert(ok ? int(row) : 0);
    }

    QList<Event> roll;
    // Rows in numeric key order, so events of equal time keep their order
    // past row 9 too.
    for (int row : rawNumberedKeys(group)) {
        const QString text = rawValue(rowKey(group, quint32(row))).toString().trimmed();
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        bool ok = false;
        const quint32 time = (blank < 0 ? text : text.left(blank)).toUInt(&ok, 10);
        if (!ok)
            continue;
        Event event(time, blank < 0 ? QString() : text.mid(blank + 1));
        event.classify();
        roll.append(event);
    }
    std::stable_sort(roll.begin(), roll.end(),
                     [](const Event& a, const Event& b) { return a.time < b.time; });
    return roll;
}
