#include "board/RdsText.h"

#include "board/RdsCharset.h"

#include <QTextCodec>

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kMaxLatin1 = 0xFF;
constexpr quint8 kQuestionMark = 0x3F; // what figure E.1 sends for a character it lacks

bool isHexRun(const QString& text, int from, int count)
{
    for (int i = from; i < from + count; ++i) {
        if (!isxdigit(text.at(i).unicode() < 0x80 ? text.at(i).unicode() : 0))
            return false;
    }
    return true;
}

QByteArray encodeWithoutHeader(QTextCodec* codec, const QString& text, int* invalid)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray bytes = codec->fromUnicode(text.constData(), text.size(), &state);
    if (invalid)
        *invalid = state.invalidChars;
    return bytes;
}

bool codecWritesHeader(QTextCodec* codec)
{
    const QString probe(QStringLiteral("a"));
    return codec->fromUnicode(probe) != encodeWithoutHeader(codec, probe, nullptr);
}

} // namespace

QList<int> RdsText::decodeEscapes(QString& text, int maxDigits)
{
    QList<int> positions;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'#')
            continue;
        const int left = text.size() - i - 1;
        if (left >= 1 && text.at(i + 1) == u'#') {
            text.remove(i, 1);
            continue;
        }
        if (left < 2)
            continue;
        for (int k = qMin(maxDigits, left); k >= 2; --k) {
            if (!isHexRun(text, i + 1, k))
                continue;
            const uint code = text.mid(i + 1, k).toUInt(nullptr, 16);
            text.replace(i, k + 1, QChar(char16_t(code)));
            positions.append(i);
            break;
        }
    }
    return positions;
}

QByteArray RdsText::encodeWithCodec(const QString& text, bool* complete, bool byteOrderMark,
                                    QTextCodec* codec)
{
    if (!codec) {
        if (complete)
            *complete = true;
        return text.toUtf8();
    }
    const bool writesHeader = codecWritesHeader(codec);
    int invalid = 0;
    QByteArray bytes;
    if (writesHeader && byteOrderMark) {
        QTextCodec::ConverterState state;
        bytes = codec->fromUnicode(text.constData(), text.size(), &state);
        invalid = state.invalidChars;
    } else {
        bytes = encodeWithoutHeader(codec, text, &invalid);
    }
    if (byteOrderMark && !writesHeader) {
        int bomInvalid = 0;
        const QByteArray bom =
            encodeWithoutHeader(codec, QString(QChar(kByteOrderMark)), &bomInvalid);
        if (bomInvalid == 0 && !bom.isEmpty() && !bytes.startsWith(bom))
            bytes.prepend(bom);
    }
    if (complete)
        *complete = invalid == 0;
    return bytes;
}

QByteArray RdsText::toE1(const QString& text, const QList<int>& escapes)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (escapes.contains(i))
            bytes.append(char(c <= kMaxLatin1 ? c : 0));
        else
            bytes.append(char(RdsCharset::toRds(c)));
    }
    return bytes;
}

bool RdsText::hasE1Codes(const QString& text, const QList<int>& escapes)
{
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (escapes.contains(i)) {
            if (c > kMaxLatin1)
                return false;
        } else if (c != u'?' && RdsCharset::toRds(c) == kQuestionMark) {
            return false;
        }
    }
    return true;
}

bool RdsText::usesE1Table(const QByteArray& codecName)
{
    return codecName.startsWith("E.1") || !QTextCodec::codecForName(codecName);
}

QByteArray RdsText::toRdsCharset(const QString& text, const QList<int>& escapes,
                                 const QByteArray& crt, bool byteOrderMark)
{
    if (usesE1Table(crt))
        return toE1(text, escapes);
    return encodeWithCodec(text, nullptr, byteOrderMark, QTextCodec::codecForName(crt));
}

void RdsText::toRdsText(QString& text, bool bytesMode)
{
    const QList<int> escapes = decodeEscapes(text, kShortEscapeDigits);
    const QByteArray bytes = toE1(text, escapes);
    for (int i = 0; i < bytes.size(); ++i) {
        const auto byte = quint8(bytes.at(i));
        text[i] = bytesMode ? QChar(char16_t(byte)) : QChar(RdsCharset::fromRds(byte));
    }
}

QString RdsText::hexView(const QByteArray& bytes, QChar separator)
{
    const QByteArray hex = bytes.toHex();
    QString view;
    view.reserve(hex.size() + hex.size() / 2);
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        if (i > 0)
            view.append(separator);
        view.append(QLatin1Char(hex.at(i)));
        view.append(QLatin1Char(hex.at(i + 1)));
    }
    return view;
}

void RdsText::replaceTagMarkers(QString& text, const QMap<int, QString>& tagTexts)
{
    const QList<int> indexes = tagTexts.keys();
    for (auto index = indexes.crbegin(); index != indexes.crend(); ++index) {
        const QString marker = QLatin1Char('$') + QString::number(*index, 16).toUpper();
        text.replace(marker, tagTexts.value(*index));
    }
}
