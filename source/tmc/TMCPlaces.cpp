#include "tmc/TMCPlaces.h"

#include "tmc/TMCReferenceLists.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

namespace {

constexpr int kMaxCodeLength = 5;
constexpr int kShownFields = 9;
constexpr int kInterRoadFirst = 64512;
constexpr int kInterRoadLast = 65532;

} // namespace

void TMCPlaces::parse(TMCLocationRecord& record)
{
    if (!record.fields.isEmpty())
        return;
    record.fields = record.line.split(';');
    record.other = record.fields.mid(kShownFields).join(' ').simplified();
}

QString TMCPlaces::locationFile(const QString& listsDir)
{
    QStringList names = QDir(listsDir).entryList({QStringLiteral("LCL*.csv")}, QDir::Files);
    if (names.isEmpty())
        return QString();
    std::sort(names.begin(), names.end());
    return QDir(listsDir).filePath(names.last());
}

QByteArrayList TMCPlaces::loadLocations(const QString& path)
{
    QByteArrayList header;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return header;
    QElapsedTimer timer;
    timer.start();
    qDebug("TMC: loading locations [%s]", qPrintable(path));
    const QByteArray all = file.readAll();
    auto& locations = TMCReferenceLists::instance().locations;
    int start = 0;
    bool firstLine = true;
    // A last line without a line end is read too.
    while (start < all.size()) {
        int end = int(all.indexOf('\n', start));
        if (end < 0)
            end = int(all.size());
        const QByteArray line = all.mid(start, end - start);
        start = end + 1;
        const int semicolon = int(line.indexOf(';'));
        if (semicolon >= 1 && semicolon <= kMaxCodeLength) {
            const quint16 code = quint16(line.left(semicolon).toUInt());
            if (code != 0)
                locations.insert(code, TMCLocationRecord{code, line, {}, {}});
        } else if (firstLine) {
            header = line.toLower().split(';');
        } else {
            qDebug("TMC: skip %d [%s]", semicolon, line.constData());
        }
        firstLine = false;
    }
    qDebug("TMC: loaded in %d ms", int(timer.elapsed()));
    return header;
}

void TMCPlaces::clear()
{
    TMCReferenceLists::instance().locations.clear();
}

QString TMCPlaces::placeText(quint16 code)
{
    if (code >= kInterRoadFirst && code <= kInterRoadLast) {
        return QStringLiteral("Interroad CC=%1 LTN=%2")
            .arg(QString::number((code >> 6) & 15, 16).toUpper())
            .arg(code & 63);
    }
    auto& locations = TMCReferenceLists::instance().locations;
    const auto it = locations.find(code);
    if (it == locations.end())
        return QCoreApplication::translate("TMCPlaces", "Code nicht gefunden");
    TMCLocationRecord& record = it.value();
    parse(record);
    const QString other = QString::fromUtf8(record.other);
    if (record.fields.size() < kShownFields)
        return QStringLiteral("\n") + other;
    auto f = [&](int i) { return QString::fromUtf8(record.fields[i]); };
    QString text;
    if (!f(5).isEmpty())
        text += f(5) + u' ';
    if (!f(6).isEmpty())
        text += f(6);
    if (!text.isEmpty())
        text += u'\n';
    for (const int i : {3, 4, 1}) {
        if (!f(i).isEmpty())
            text += f(i) + u' ';
    }
    text += QStringLiteral("%1\nLoc: %2\nRef: %3 %4\n").arg(f(2)).arg(code).arg(f(7), f(8));
    text += u'\n' + other;
    return text;
}
