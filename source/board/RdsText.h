#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class QTextCodec;

// Conversion of the user's RDS texts into the bytes that go on air.
class RdsText
{
public:
    static constexpr int kShortEscapeDigits = 2; // PS, RadioText, PTYN, provider name
    static constexpr int kLongEscapeDigits = 4;  // long PS, eRT, RT+

    // Replaces "##" by '#' and "#hh" (up to maxDigits hexadecimal digits) by
    // the character with that code; returns the positions of those characters.
    static QList<int> decodeEscapes(QString& text, int maxDigits);

    // Encodes with the codec (UTF-8 when there is none). complete tells
    // whether every character could be encoded.
    static QByteArray encodeWithCodec(const QString& text, bool* complete, bool byteOrderMark,
                                      QTextCodec* codec);

    // The bytes of figure E.1; characters from escapes are sent as they are.
    static QByteArray toE1(const QString& text, const QList<int>& escapes);
    // False when a character of the text has no byte in figure E.1, so that
    // toE1 sends '?' in its place, or an escape names a code above 0xFF.
    static bool hasE1Codes(const QString& text, const QList<int>& escapes);

    // True when the codec name selects the built-in E.1 table: "E.1...", and
    // any name that no codec answers to (the RDS page shows those as E.1 too).
    static bool usesE1Table(const QByteArray& codecName);

    // Resolves the escapes (two digits) and converts the text through the
    // E.1 table in place. In bytes mode each character holds the byte value
    // that goes on air (ready for toLatin1()); otherwise each holds what a
    // receiver shows for that byte, a preview of the text on air.
    static void toRdsText(QString& text, bool bytesMode);

    // The bytes as pairs of lower-case hexadecimal digits, the separator
    // between pairs.
    static QString hexView(const QByteArray& bytes, QChar separator);

    // Replaces the RT+ markers "$0", "$1", ... "$A" ... (the index in
    // upper-case hexadecimal) by the tag text of that index; an index
    // without a text leaves its marker. Highest index first, so "$1" never
    // takes the start of "$10": the page's preview and the encoder agree.
    static void replaceTagMarkers(QString& text, const QMap<int, QString>& tagTexts);

    // PS, RadioText, PTYN and provider name: E.1 or the codec named by crt.
    static QByteArray toRdsCharset(const QString& text, const QList<int>& escapes,
                                   const QByteArray& crt, bool byteOrderMark);
};
