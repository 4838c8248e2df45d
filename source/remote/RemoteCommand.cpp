#include "remote/RemoteCommand.h"

namespace {

constexpr QChar kBlank = QLatin1Char(' ');
constexpr QChar kQuote = QLatin1Char('"');

} // namespace

RemoteCommand RemoteCommand::parse(const QString& line)
{
    RemoteCommand result;
    const qsizetype blank = line.indexOf(kBlank);
    result.command = line.left(blank).trimmed().toUpper();
    if (blank >= 0)
        result.splitRest(line.mid(blank + 1).trimmed());

    if (result.value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        result.value = QStringLiteral("1");
    else if (result.value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        result.value = QStringLiteral("0");
    return result;
}

void RemoteCommand::splitRest(const QString& rest)
{
    if (rest.isEmpty())
        return;
    const qsizetype open = rest.indexOf(kQuote);
    if (open >= 0) {
        const qsizetype close = rest.indexOf(kQuote, open + 1);
        if (close < 0) {
            argument = rest;
            return;
        }
        argument = rest.mid(open + 1, close - open - 1);
        value = rest.mid(close + 1).trimmed();
        return;
    }
    const qsizetype blank = rest.indexOf(kBlank);
    if (blank < 0) {
        argument = rest;
        return;
    }
    argument = rest.left(blank).trimmed();
    value = rest.mid(blank + 1).trimmed();
}
