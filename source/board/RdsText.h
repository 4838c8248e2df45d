#pragma once

#include <QByteArray>
#include <QList>
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

    // True when the codec name selects the built-in E.1 table: "E.1...", and
    // any name that no codec answers to (the RDS page shows those as E.1 too).
    static bool usesE1Table(const QByteArray& codecName);

    // PS, RadioText, PTYN and provider name: E.1 or the codec named by crt.
    static QByteArray toRdsCharset(const QString& text, const QList<int>& escapes,
                                   const QByteArray& crt, bool byteOrderMark);
};
