#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The text lines of the board's serial configuration protocol, free of any
// port: read commands "R00".."R09", write commands "W" + register + word,
// and the conversions between register words and what the dialog shows.
class BoardConfigLines
{
public:
    static constexpr int kRegisters = 10;
    static constexpr int kLowestPll = -65915;
    static constexpr int kHighestPll = 65915;

    // "R0" + register, for the registers 0 to 9.
    static QByteArray read(int reg);
    // Whether the reply to R00 names a board this dialog can configure.
    static bool knownIdentity(const QByteArray& reply);
    // A reply read as a hexadecimal word; anything else reads as 0.
    static quint32 word(const QByteArray& reply);

    // The register word of a synthesizer offset in Hz: steps of
    // 33750000 / 2^24 Hz, rounded half away from zero, as 16 bits.
    static QString pllWord(int hz);
    // The offset in Hz of a register word, truncated toward zero.
    static int pllOffset(quint32 word);

    // "192.168.1.10" from the eight hex digits of registers 5 and 6.
    static QString hostText(const QByteArray& hexDigits);
    // The address of a host text of four numbers of 0 to 255 joined by ".",
    // first octet most significant; nothing for any other text.
    static std::optional<quint32> ipv4(const QString& host);
    // "AA:BB:CC:DD:EE:FF" from the twelve hex digits of registers 2 to 4,
    // in the case the board sent.
    static QString macText(const QByteArray& hexDigits);

    // The write sequence that saves a board's address, port and offsets,
    // "WFF0000" last. A host that is not four numbers of 0 to 255 joined by
    // "." writes no address; a port of 0 writes no port.
    static QList<QByteArray> writeSequence(const QString& host, int port, int pll1, int pll2);
};
