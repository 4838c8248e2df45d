// RDS texts with templates, and the RDS text files of an RDS source.
#include "board/RdsEncoder.h"

#include "board/RdsText.h"

#include <QDebug>

namespace {

constexpr int kMaxLinesPerGroup = 66;
constexpr quint8 kTagsFromSong = 8; // rtitm bit 3

QString tagNameOf(int contentType)
{
    switch (contentType) {
    case 1:
        return QStringLiteral("Title");
    case 2:
        return QStringLiteral("Album");
    case 3:
        return QStringLiteral("Tracknumber");
    case 4:
        return QStringLiteral("Artist");
    case 10:
        return QStringLiteral("Comment");
    case 11:
        return QStringLiteral("Genre");
    default:
        return QString();
    }
}

} // namespace

QByteArray RdsEncoder::toRdsCharset(const QString& text, const QList<int>& escapes,
                                    bool byteOrderMark) const
{
    return RdsText::toRdsCharset(text, escapes, source.crt, byteOrderMark);
}

QString RdsEncoder::substituteTags(const RTag& tag) const
{
    const QString name = tagNameOf(tag.type);
    if ((source.rtitm & kTagsFromSong) && !tags.isEmpty() && !name.isEmpty()) {
        QString value = tags.value(name);
        // A '#' in a song tag is text, not the start of an escape.
        value.replace(u'#', QChar(0x00A7));
        return value;
    }
    return tag.text;
}

QMap<int, QString> RdsEncoder::tagTexts() const
{
    QMap<int, QString> texts;
    for (int i = 0; i < int(source.rttag.size()); ++i)
        texts.insert(i, substituteTags(source.rttag[i]));
    return texts;
}

QList<int> RdsEncoder::expandTemplates(QString& text, int maxDigits) const
{
    if (text.contains(QLatin1Char('$')))
        RdsText::replaceTagMarkers(text, tagTexts());
    return RdsText::decodeEscapes(text, maxDigits);
}

void RdsEncoder::openTextFile()
{
    if (source.files.isEmpty())
        return;
    fileModeStarted = true;
    if (source.files.size() > 1) {
        textFile.close();
        const int current = int(source.files.indexOf(textFileName));
        const int next = current < 0 || current + 1 >= source.files.size() ? 0 : current + 1;
        textFileName = source.files[next];
    } else {
        // One file plays in a loop, as a list of several files cycles.
        if (textFile.isOpen() && textFile.atEnd())
            textFile.close();
        textFileName = source.files[0];
    }
    if (textFile.isOpen())
        return;
    textFile.setFileName(textFileName);
    if (!textFile.open(QIODevice::ReadOnly | QIODevice::Text))
        qDebug("enc: open failed [%s]", qPrintable(textFileName));
}

int RdsEncoder::readFileGroup(quint8* out)
{
    if (!textFile.isOpen() || textFile.atEnd())
        openTextFile();
    if (!textFile.isOpen() || textFile.atEnd())
        return 0;
    for (int i = 0; i < kMaxLinesPerGroup && !textFile.atEnd(); ++i) {
        if (parseGroupLine(out, textFile.readLine()) == kGroupBytes)
            return kGroupBytes;
    }
    return 0;
}
