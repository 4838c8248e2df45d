#include "board/BoardCommand.h"

#include "board/BigEndian.h"

#include "settings/ChannelConfig.h"

#include <algorithm>
#include <cmath>

namespace {

using BigEndian::append16;
using BigEndian::append32;

constexpr int kSlotsPerBoard = 24;
constexpr double kFullScale = 65535.0;
constexpr int kKxwbAttnMask = 31;
constexpr int kQrv4AttnMask = 124;
constexpr quint8 kQrv4AttnOff = 127;

// Deviation words count in 2^24 steps of the modulator clock (kHz).
constexpr double kDeviationScale = 16777216.0;
constexpr double kQrv4ClockKHz = 75000.0;
constexpr double kKxwbClockKHz = 33750.0;

// KXWB carriers are offsets from the active oscillator in 2^24 steps of
// 33.75 MHz; QRV4 carriers offsets from a fixed section centre in steps of
// 18.75 MHz, four sections of 8 MHz.
constexpr double kKxwbStepsPerMHz = 497102.6962962963;
constexpr double kQrv4SpanMHz = 18.75;
constexpr double kQrv4SectionWidthMHz = 8.0;
constexpr double kQrv4FirstCentreMHz = 80.0;
constexpr double kQrv4FirstSplitMHz = 84.0;
constexpr int kQrv4Sections = 4;
constexpr double kTwoTo24 = 16777216.0;
constexpr quint32 kLow24Bits = 0xFFFFFF;

quint16 roundHalfUp(double value)
{
    return quint16(std::clamp(std::floor(value + 0.5), 0.0, kFullScale));
}

} // namespace

BoardCommand::BoardCommand(quint8 target)
{
    append16(bytes, kType);
    bytes.append(3, '\0'); // sequence number, filled in when sent
    bytes.append(char(target));
}

BoardCommand& BoardCommand::add(quint16 tag, const QByteArray& value)
{
    Q_ASSERT(value.size() == (tag & 0xFF));
    append16(bytes, tag);
    bytes.append(value);
    return *this;
}

BoardCommand& BoardCommand::add8(quint16 tag, quint8 value)
{
    return add(tag, QByteArray(1, char(value)));
}

BoardCommand& BoardCommand::add16(quint16 tag, quint16 value)
{
    QByteArray encoded;
    append16(encoded, value);
    return add(tag, encoded);
}

quint8 BoardCommand::attenuation(BoardType type, bool onAir, int attnDb)
{
    if (type == BoardType::QRV4)
        return onAir ? quint8((-4 * attnDb) & kQrv4AttnMask) : kQrv4AttnOff;
    return quint8(onAir ? (-attnDb) & kKxwbAttnMask : kKxwbAttnMask);
}

quint16 BoardCommand::gain(int gainDb)
{
    return roundHalfUp(std::pow(10.0, gainDb / 20.0) * kFullScale);
}

quint16 BoardCommand::volume(bool mute, int percent)
{
    if (mute)
        return 0;
    return roundHalfUp(std::clamp(percent, 0, 100) * (kFullScale / 100.0));
}

quint8 BoardCommand::rateCode(int sampleRate)
{
    if (sampleRate == 48000)
        return 2;
    if (sampleRate == 32000)
        return 0;
    return 1;
}

quint16 BoardCommand::deviation(BoardType type, int deviKHz)
{
    const double clock = type == BoardType::QRV4 ? kQrv4ClockKHz : kKxwbClockKHz;
    return roundHalfUp(std::round(deviKHz * kDeviationScale / clock));
}

quint32 BoardCommand::carrierWord(BoardType type, double freqMHz, const BandTable& band,
                                  quint8* section)
{
    qint64 word = 0;
    quint8 sec = 0;
    if (type == BoardType::QRV4) {
        while (sec + 1 < kQrv4Sections &&
               freqMHz >= kQrv4FirstSplitMHz + sec * kQrv4SectionWidthMHz)
            ++sec;
        const double centre = kQrv4FirstCentreMHz + sec * kQrv4SectionWidthMHz;
        word = qint64(std::trunc((freqMHz - centre) / kQrv4SpanMHz * kTwoTo24));
    } else {
        sec = freqMHz < band.split ? 0 : 1;
        const double lo = sec == 0 ? band.lo0 : band.lo1;
        word = std::llround((freqMHz - lo) * kKxwbStepsPerMHz);
    }
    if (section != nullptr)
        *section = sec;
    return quint32(word) & kLow24Bits;
}

QList<QByteArray> BoardCommand::bandConfig(BoardType type, bool onAir, int attnDb, int band,
                                           unsigned osciMHz)
{
    const quint8 attn = attenuation(type, onAir, attnDb);
    if (type == BoardType::QRV4)
        return {BoardCommand(kBoardTarget).add8(kOnAir, onAir).add8(kAttnQrv4, attn).datagram()};

    const BandTable table = BandTable::forBand(band);
    QList<QByteArray> datagrams;
    int synth = 0;
    for (double lo : {table.lo0, table.lo1}) {
        const SynthWords::Words words = type == BoardType::KXWBLower
                                            ? SynthWords::kxwbLower(lo, osciMHz)
                                            : SynthWords::kxwb(lo);
        datagrams.append(BoardCommand(kBoardTarget)
                             .add8(kOnAir, onAir)
                             .add8(kAttnKxwb, attn)
                             .add8(kSynthSelect, quint8(synth++))
                             .addSynthWords(words)
                             .datagram());
    }
    return datagrams;
}

BoardCommand BoardCommand::programCommand(int programme)
{
    BoardCommand command{quint8(programme)};
    command.add8(kSlot, quint8((programme - 1) % kSlotsPerBoard));
    return command;
}

BoardCommand& BoardCommand::addCarrier(const ChannelConfig& config, BoardType type,
                                       const BandTable& band)
{
    quint8 section = 0;
    QByteArray value;
    append32(value, carrierWord(type, config.freq, band, &section));
    value.append(char(section));
    return add(kCarrier, value);
}

BoardCommand& BoardCommand::addSynthWords(const SynthWords::Words& words)
{
    QByteArray value;
    for (quint16 word : words)
        append16(value, word);
    return add(kSynthWords, value);
}

QByteArray BoardCommand::volumeCommand(int programme, const ChannelConfig& config)
{
    return programCommand(programme).add16(kVolume, volume(config.mute, config.volm)).datagram();
}

QByteArray BoardCommand::gainCommand(int programme, const ChannelConfig& config)
{
    return programCommand(programme).add16(kGain, gain(config.gain)).datagram();
}

QByteArray BoardCommand::rateValue(int sampleRate)
{
    QByteArray value(1, char(rateCode(sampleRate)));
    append32(value, 0);
    return value;
}

QByteArray BoardCommand::rateCommand(int programme, const ChannelConfig& config)
{
    return programCommand(programme).add(kRate, rateValue(config.rate)).datagram();
}

QByteArray BoardCommand::carrierCommand(int programme, const ChannelConfig& config, BoardType type,
                                        const BandTable& band)
{
    return programCommand(programme)
        .addCarrier(config, type, band)
        .add16(kGain, gain(config.gain))
        .datagram();
}

QByteArray BoardCommand::fullCommand(int programme, const ChannelConfig& config, BoardType type,
                                     const BandTable& band, quint8 rdsMask)
{
    QByteArray programConfig;
    programConfig.append(char(config.used ? 1 : 0));
    programConfig.append(char(config.mono ? 0 : 1));
    programConfig.append(char(rdsMask & 0x0F));
    programConfig.append(char(config.emph));
    return programCommand(programme)
        .add(kProgramConfig, programConfig)
        .addCarrier(config, type, band)
        .add16(kGain, gain(config.gain))
        .add16(kDeviation, deviation(type, config.devi))
        .add16(kVolume, volume(config.mute, config.volm))
        .add(kRate, rateValue(config.rate))
        .datagram();
}
