#include "settings/TMCMessage.h"

#include <QStringList>

namespace {

quint32 unsignedField(const QStringList& fields, qsizetype index)
{
    if (index >= fields.size())
        return 0;
    bool ok = false;
    const quint32 value = fields[index].toUInt(&ok, 10);
    return ok ? value : 0;
}

constexpr qsizetype kFixedFieldCount = 5;

} // namespace

QString tmcMessageToText(const TMCMessage& message)
{
    QString text = QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(uint(message.duration))
                       .arg(uint(message.extentFlags))
                       .arg(uint(message.event))
                       .arg(uint(message.location))
                       .arg(uint(message.send));
    for (quint32 label : message.labels)
        text += QLatin1Char(' ') + QString::number(label);
    return text;
}

TMCMessage tmcMessageFromText(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    TMCMessage message;
    message.duration = quint8(unsignedField(fields, 0));
    message.extentFlags = quint8(unsignedField(fields, 1));
    message.event = quint16(unsignedField(fields, 2));
    message.location = quint16(unsignedField(fields, 3));
    message.send = quint8(unsignedField(fields, 4));
    for (qsizetype i = kFixedFieldCount; i < fields.size(); ++i)
        message.labels.append(unsignedField(fields, i));
    return message;
}
