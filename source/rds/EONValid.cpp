#include "rds/EONValid.h"

#include "rds/AFValid.h"

#include <QDebug>
#include <QStringList>

#include <algorithm>

EONValid::EONValid(QObject* parent) : QValidator(parent), single(new AFValid(this)) {}

EONValid::~EONValid()
{
    qDebug() << "~EON valid";
}

QValidator::State EONValid::validate(QString& input, int& pos) const
{
    // A blank at the end stays, so the next frequency can be typed.
    const bool open = input.endsWith(QLatin1Char(' '));
    QStringList parts = input.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    State state = Acceptable;
    for (QString& part : parts) {
        int partPos = int(part.size());
        const State partState = single->validate(part, partPos);
        state = std::min(state, partState);
    }
    input = parts.join(QLatin1Char(' '));
    if (open)
        input += QLatin1Char(' ');
    pos = std::min(pos, int(input.size()));
    return state;
}

void EONValid::fixup(QString& input) const
{
    QStringList parts = input.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& part : parts)
        single->fixup(part);
    parts.removeAll(QString()); // no number left in it
    input = parts.join(QLatin1Char(' '));
    qDebug("eon fixed [%s]", qUtf8Printable(input));
}
