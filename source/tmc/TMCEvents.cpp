#include "tmc/TMCEvents.h"

#include "tmc/TMCReferenceLists.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTime>

namespace {

constexpr int kEventColumns = 14;
constexpr int kSuppInfoColumns = 4;
constexpr int kSuppInfoCodeColumn = 3;
constexpr int kBracketedLetterLength = 3;
constexpr int kQuantifierTypes = 13;
constexpr int kDurationSteps = 8;

QString tr(const char* text)
{
    return QCoreApplication::translate("TMCEvents", text);
}

uint number(const QByteArray& field)
{
    bool ok = false;
    const uint value = field.toUInt(&ok, 10);
    return ok ? value : 0;
}

quint8 firstChar(const QByteArray& field)
{
    return field.isEmpty() ? 0 : quint8(field.at(0));
}

quint8 durationTypeOf(const QByteArray& field)
{
    if (field.isEmpty())
        return 0;
    if (field.size() == kBracketedLetterLength)
        return quint8(QChar::toLower(char16_t(quint8(field.at(1)))));
    return quint8(field.at(0));
}

QByteArrayList latin1Fields(const QByteArray& line)
{
    return QString::fromLatin1(line).toUtf8().split(';');
}

TMCReferenceLists& lists()
{
    return TMCReferenceLists::instance();
}

// The German duration phrases, by duration value 1..7.
const char* const kDynamicInfo[] = {QT_TRANSLATE_NOOP("TMCEvents", "für min. 15 Minuten"),
                                    QT_TRANSLATE_NOOP("TMCEvents", "für min. 30 Minuten"),
                                    QT_TRANSLATE_NOOP("TMCEvents", "für min. eine Stunde"),
                                    QT_TRANSLATE_NOOP("TMCEvents", "für min. 2 Stunden"),
                                    QT_TRANSLATE_NOOP("TMCEvents", "für min. 3 Stunden"),
                                    QT_TRANSLATE_NOOP("TMCEvents", "für min. 4 Stunden"),
                                    QT_TRANSLATE_NOOP("TMCEvents", "für den ganzen Tag")};
const char* const kDynamicForecast[] = {QT_TRANSLATE_NOOP("TMCEvents", "innerhalb von 15 Minuten"),
                                        QT_TRANSLATE_NOOP("TMCEvents", "innerhalb von 30 Minuten"),
                                        QT_TRANSLATE_NOOP("TMCEvents", "innerhalb einer Stunde"),
                                        QT_TRANSLATE_NOOP("TMCEvents", "innerhalb von 2 Stunden"),
                                        QT_TRANSLATE_NOOP("TMCEvents", "innerhalb von 3 Stunden"),
                                        QT_TRANSLATE_NOOP("TMCEvents", "innerhalb von 4 Stunden"),
                                        QT_TRANSLATE_NOOP("TMCEvents", "im Laufe des Tages")};
const char* const kLongerInfo[] = {QT_TRANSLATE_NOOP("TMCEvents", "für die nächsten Stunden"),
                                   QT_TRANSLATE_NOOP("TMCEvents", "für den ganzen Tag"),
                                   QT_TRANSLATE_NOOP("TMCEvents", "bis morgen Abend"),
                                   QT_TRANSLATE_NOOP("TMCEvents", "für die restliche Woche"),
                                   QT_TRANSLATE_NOOP("TMCEvents", "bis Ende nächster Woche"),
                                   QT_TRANSLATE_NOOP("TMCEvents", "bis zum Monatsende"),
                                   QT_TRANSLATE_NOOP("TMCEvents", "für lange Zeit")};
const char* const kLongerForecast[] = {QT_TRANSLATE_NOOP("TMCEvents", "in den nächsten Stunden"),
                                       QT_TRANSLATE_NOOP("TMCEvents", "im Laufe des Tages"),
                                       QT_TRANSLATE_NOOP("TMCEvents", "Morgen"),
                                       QT_TRANSLATE_NOOP("TMCEvents", "Übermorgen"),
                                       QT_TRANSLATE_NOOP("TMCEvents", "dieses Wochenende"),
                                       QT_TRANSLATE_NOOP("TMCEvents", "im Laufe der Woche"),
                                       QT_TRANSLATE_NOOP("TMCEvents", "nächste Woche")};

QString shortest(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

void TMCEvents::loadEvents(const QString& path, int columnShift)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const int s = columnShift;
    while (!file.atEnd()) {
        const QByteArrayList f = latin1Fields(file.readLine());
        if (f.size() < kEventColumns - s)
            continue;
        TMCEventRecord record;
        record.code = quint16(number(f[6 - s]));
        if (record.code == 0)
            continue;
        record.row = quint16(number(f[0]));
        record.nature = firstChar(f[7 - s]);
        record.quantifier =
            f[8 - s].isEmpty() ? TMCEventRecord::kNoQuantifier : quint8(number(f[8 - s]));
        record.durationType = durationTypeOf(f[9 - s]);
        record.directionality = f[10 - s].isEmpty() ? 0 : quint8(number(f[10 - s]));
        record.urgency = firstChar(f[11 - s]);
        record.updateClass = quint8(number(f[12 - s]));
        record.english = f[1];
        record.german = f[2];
        record.references = f[13 - s];
        lists().events.insert(record.code, record);
        // QMultiMap puts a new entry in front of those with the same key.
        if (record.nature == 'S' && record.durationType == 0)
            lists().cancellations.insert(record.updateClass, record.code);
    }
}

void TMCEvents::loadSuppInfo(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    lists().suppInfo.clear();
    while (!file.atEnd()) {
        QByteArrayList f = latin1Fields(file.readLine());
        if (f.size() < kSuppInfoColumns)
            continue;
        bool ok = false;
        const int code = f[kSuppInfoCodeColumn].toInt(&ok, 10);
        if (!ok || code == 0)
            continue;
        f.removeFirst();
        f.removeLast();
        lists().suppInfo.insert(code, f);
    }
}

void TMCEvents::loadLists(const QString& listsDir)
{
    loadEvents(listsDir + QStringLiteral("/ECL401.csv"), 0);
    loadEvents(listsDir + QStringLiteral("/forecast.csv"), 1);
    loadSuppInfo(listsDir + QStringLiteral("/suppinfo.csv"));
}

void TMCEvents::clear()
{
    lists().events.clear();
    lists().cancellations.clear();
    lists().suppInfo.clear();
}

TMCEventRecord TMCEvents::eventRecord(quint16 code)
{
    const auto it = lists().events.constFind(code);
    return it == lists().events.constEnd() ? TMCEventRecord() : it.value();
}

int TMCEvents::firstCancellation(int updateClass)
{
    const auto it = lists().cancellations.constFind(updateClass);
    return it == lists().cancellations.constEnd() ? -1 : it.value();
}

quint16 TMCEvents::eventInfo(quint16 code)
{
    const auto it = lists().events.constFind(code);
    if (it == lists().events.constEnd())
        return kNoCancellation;
    const int cancellation = firstCancellation(it->updateClass);
    return cancellation < 0 ? kNoCancellation : quint16(cancellation);
}

QString TMCEvents::eventText(quint16 code)
{
    const auto it = lists().events.constFind(code);
    if (it == lists().events.constEnd())
        return tr("Code nicht gefunden");
    const TMCEventRecord& e = it.value();
    QString text = tr("%1\n%2\nZeile: %3 / C: %4")
                       .arg(QString::fromUtf8(e.german), QString::fromUtf8(e.english))
                       .arg(e.row)
                       .arg(e.updateClass);
    if (e.quantifier != TMCEventRecord::kNoQuantifier)
        text +=
            QStringLiteral(" / Q: %1 (%2-bits)").arg(e.quantifier).arg(e.quantifier <= 5 ? 5 : 8);
    if (!e.references.isEmpty())
        text += QStringLiteral("\n") + tr("Referenz:") + u' ' + QString::fromUtf8(e.references);
    if (e.durationType == 'L' || e.durationType == 'l')
        text += QStringLiteral("\nT: ") + tr("länger anhaltend");
    if (e.directionality == 2)
        text += QStringLiteral("\nD: ") + tr("beide Richtungen");
    if (e.nature == 'F')
        text += QStringLiteral("\nN: ") + tr("Vorhersage");
    else if (e.nature == 'S')
        text += QStringLiteral("\nN: ") + tr("Stille Meldung");
    if (e.urgency == 'U')
        text += QStringLiteral("\nU: ") + tr("Wichtig!");
    else if (e.urgency == 'X')
        text += QStringLiteral("\nU: ") + tr("Sehr wichtig!");
    text +=
        QStringLiteral("\n") + tr("Aufheben: %1").arg(qMax(0, firstCancellation(e.updateClass)));
    return text;
}

QString TMCEvents::durationText(quint16 code, int value)
{
    const auto it = lists().events.constFind(code);
    if (it == lists().events.constEnd())
        return QString();
    const int d = ((value % kDurationSteps) + kDurationSteps) % kDurationSteps;
    const char type = char(QChar::toUpper(char16_t(it->durationType)));
    const bool forecast = it->nature == 'F';
    if (d == 0 || (type != 'D' && type != 'L'))
        return tr("Unbekannt");
    if (type == 'D')
        return tr(forecast ? kDynamicForecast[d - 1] : kDynamicInfo[d - 1]);
    return tr(forecast ? kLongerForecast[d - 1] : kLongerInfo[d - 1]);
}

QString TMCEvents::quantifierText(quint16 code, int value)
{
    const auto it = lists().events.constFind(code);
    if (it == lists().events.constEnd() || it->quantifier >= kQuantifierTypes)
        return QString();
    const int v = ((value % 256) + 256) % 256;
    switch (it->quantifier) {
    case 0:
        return QString::number(v == 0 ? 36 : v <= 28 ? v : 2 * v - 28);
    case 1:
        return QString::number(v == 0 ? 1000 : v <= 4 ? v : v <= 14 ? 10 * v - 40 : 50 * v - 600);
    case 2:
        return QStringLiteral("%1 m").arg(10 * v);
    case 3:
        return QStringLiteral("%1 %").arg(5 * v);
    case 4:
        return QStringLiteral("%1 km/h").arg(5 * v);
    case 5:
        if (v == 0)
            return QStringLiteral("72 hours");
        if (v <= 10)
            return QStringLiteral("%1 min").arg(5 * v);
        if (v <= 22)
            return QStringLiteral("%1 hours").arg(v - 10);
        return QStringLiteral("%1 hours").arg(6 * v - 120);
    case 6:
        return QStringLiteral("%1 °C").arg(v - 51);
    case 7: {
        constexpr int kDaySeconds = 24 * 3600;
        const int seconds = (((v - 1) * 600) % kDaySeconds + kDaySeconds) % kDaySeconds;
        return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm"));
    }
    case 8:
    case 9: {
        const double weight = v <= 100 ? v * 0.1 : (v - 100) * 0.5 + 10.0;
        return QStringLiteral("%1 %2").arg(shortest(weight), it->quantifier == 8 ? "t" : "m");
    }
    case 10:
        return QStringLiteral("%1 mm").arg(v);
    case 11:
        return QStringLiteral("%1 MHz").arg(shortest(87.5 + 0.1 * v));
    default:
        return QStringLiteral("%1 kHz").arg(v <= 15 ? 9 * v + 144 : 9 * v + 387);
    }
}

QString TMCEvents::suppInfoText(quint16 code, bool german)
{
    const auto it = lists().suppInfo.constFind(code);
    if (it == lists().suppInfo.constEnd() || it->size() <= int(german))
        return QString();
    return QString::fromUtf8(it->at(int(german)));
}
