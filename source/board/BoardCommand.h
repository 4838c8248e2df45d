#pragma once

#include "board/BandTable.h"
#include "board/BoardInfo.h"
#include "board/SynthWords.h"

#include <QByteArray>
#include <QList>

struct ChannelConfig;

// Builds acknowledged command datagrams (type 0x0010): a header whose
// sequence number the board thread fills in when it sends, a target, and
// tagged items. The low byte of every item tag is the length of its value.
class BoardCommand
{
public:
    enum Tag : quint16
    {
        kOnAir = 0x0001,
        kSynthSelect = 0x8001,
        kAttnKxwb = 0x8501,
        kAttnQrv4 = 0x8701,
        kSynthWords = 0x840E,
        kSlot = 0x2001,
        kProgramConfig = 0x2104,
        kGain = 0x2202,
        kCarrier = 0x2305,
        kVolume = 0x2502,
        kRate = 0x2605,
        kDeviation = 0x2702,
    };

    static constexpr quint16 kType = 0x0010;
    static constexpr int kHeaderSize = 6;
    static constexpr quint8 kBoardTarget = 0xFF;

    explicit BoardCommand(quint8 target);

    BoardCommand& add(quint16 tag, const QByteArray& value);
    BoardCommand& add8(quint16 tag, quint8 value);
    BoardCommand& add16(quint16 tag, quint16 value);
    QByteArray datagram() const { return bytes; }

    // --- value encodings
    static quint8 attenuation(BoardType type, bool onAir, int attnDb);
    static quint16 gain(int gainDb);
    static quint16 volume(bool mute, int percent);
    static quint8 rateCode(int sampleRate);
    static quint16 deviation(BoardType type, int deviKHz);
    // Low 24 bits of the frequency word; section is the carrier section.
    static quint32 carrierWord(BoardType type, double freqMHz, const BandTable& band,
                               quint8* section);

    // --- board commands
    // One datagram for QRV4, two (one per synthesizer) for KXWB and kXWB.
    static QList<QByteArray> bandConfig(BoardType type, bool onAir, int attnDb, int band,
                                        unsigned osciMHz);

    // --- programme commands; programme is 1..96, the slot follows from it
    static QByteArray volumeCommand(int programme, const ChannelConfig& config);
    static QByteArray gainCommand(int programme, const ChannelConfig& config);
    static QByteArray rateCommand(int programme, const ChannelConfig& config);
    static QByteArray carrierCommand(int programme, const ChannelConfig& config, BoardType type,
                                     const BandTable& band);
    // rdsMask: the encoder's stream mask, 0 when the channel has no RDS source.
    static QByteArray fullCommand(int programme, const ChannelConfig& config, BoardType type,
                                  const BandTable& band, quint8 rdsMask);

private:
    static BoardCommand programCommand(int programme);
    static QByteArray rateValue(int sampleRate);
    BoardCommand& addCarrier(const ChannelConfig& config, BoardType type, const BandTable& band);
    BoardCommand& addSynthWords(const SynthWords::Words& words);

    QByteArray bytes;
};
