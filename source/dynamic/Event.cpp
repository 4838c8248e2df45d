#include "dynamic/Event.h"

#include <QStringList>

Event::Event(quint32 time, const QString& command) : time(time), command(command) {}

Event::~Event() = default;

void Event::classify()
{
    const qsizetype firstDot = command.indexOf(QLatin1Char('.'));
    const QString first = (firstDot < 0 ? command : command.left(firstDot)).toLower();
    static const QStringList kFamilies{QStringLiteral("channel"), QStringLiteral("audio"),
                                       QStringLiteral("playlist"), QStringLiteral("rds"),
                                       QStringLiteral("tmc")};
    type = quint8(kFamilies.indexOf(first) + 1);

    const QString rest1 = firstDot < 0 ? QString() : command.mid(firstDot + 1);
    const qsizetype secondDot = rest1.indexOf(QLatin1Char('.'));
    const QString second = secondDot < 0 ? rest1 : rest1.left(secondDot);
    bool ok = false;
    const int value = second.toInt(&ok, 10);
    number = ok ? qint16(value) : 0;
    rest = secondDot < 0 ? QString() : rest1.mid(secondDot + 1).simplified();
}
