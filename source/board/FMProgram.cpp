#include "board/FMProgram.h"

#include "audio/PCMDecoder.h"
#include "board/BoardCommand.h"
#include "board/FMBoard.h"
#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"

#include <QDebug>
#include <QMutexLocker>

namespace {

constexpr int kSlots = 24;

// The number that follows marker in key ("rds.1/eon/2/ps", "/eon/" -> 2);
// -1 when there is none.
int numberAfter(const QString& key, QLatin1String marker)
{
    const qsizetype at = key.indexOf(marker);
    if (at < 0)
        return -1;
    const qsizetype start = at + marker.size();
    qsizetype end = start;
    while (end < key.size() && key.at(end).isDigit())
        ++end;
    bool ok = false;
    const int number = key.mid(start, end - start).toInt(&ok);
    return ok ? number : -1;
}

RdsDataInput::Maker& dataInputMaker()
{
    static RdsDataInput::Maker maker;
    return maker;
}

} // namespace

FMProgram::FMProgram(int number, QSharedPointer<FMSettings> settings, FMBoard* owner)
    : programme(number), slotIndex((number - 1) % kSlots),
      playPositionKey(QStringLiteral("chinfo.%1/playpos").arg(number)), board(owner),
      decoder(std::make_unique<PCMDecoder>(number)), encoder(std::make_unique<RdsEncoder>())
{
    channel.channel = number;
    channel.freq = ChannelConfig::defaultFrequency(number);
    encoder->init();
    pcmDatagram = QByteArray(BoardDatagram::kStreamHeaderSize + kPcmPayloadBytes, '\0');
    installEventFilter(new SetHandler(this));
    if (const RdsDataInput::Maker& make = dataInputMaker())
        server = make(number, this, this);
    setConfig(settings, settings ? settings->band() : 0);
}

FMProgram::~FMProgram()
{
    if (store)
        store->unsubscribeAll(this);
    if (decoder) {
        decoder->requestStop(true);
        decoder->wait();
    }
}

void FMProgram::setBandTable(int band)
{
    bandTable = BandTable::forBand(band);
}

void FMProgram::subscribe(const QString& key)
{
    if (store)
        store->subscribe(key, this);
}

void FMProgram::unsubscribe(const QString& key)
{
    if (store)
        store->unsubscribe(key, this);
}

void FMProgram::setConfig(QSharedPointer<FMSettings> settings, int band)
{
    QMutexLocker locker(&mutex);
    setBandTable(band);
    if (server)
        server->setProject(settings);
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    if (!store)
        return;
    pcmSent = 0;
    endFlag = false;
    pcmPending = false;
    playlistKey.clear();
    playlistReference.clear();

    readChannel();
    const quint8 maskBefore = encoder->streamMask();
    readRdsSource(false);
    if (encoder->streamMask() != maskBefore)
        resend = kResendTicks;
    readAudioSource();

    subscribe(QStringLiteral("play"));
    subscribe(QStringLiteral("channel.%1").arg(programme));
    if (channel.idaudio != 0)
        subscribe(QStringLiteral("audio.%1").arg(channel.idaudio));
    if (channel.idrds != 0)
        subscribe(QStringLiteral("rds.%1").arg(channel.idrds));
    if (tmcId != 0)
        subscribe(QStringLiteral("tmc.%1").arg(tmcId));
    resend = kResendTicks;
}

void FMProgram::setBand(int band)
{
    setBandTable(band);
    sendFullCommand();
}

void FMProgram::setBoardInfo(const BoardInfo& boardInfo)
{
    info = boardInfo;
    resend = kResendTicks;
    if (server)
        server->setActive(boardInfo.firmware);
}

void FMProgram::readChannel()
{
    channel = store->channel(programme);
}

// Hands the channel's RDS source (and the TMC source it names) to the
// encoder. Expects the mutex held and a store.
void FMProgram::readRdsSource(bool announce)
{
    const QMap<int, RDSSource> sources = store->rdsSources();
    const auto found = sources.constFind(channel.idrds);
    hasRds = channel.idrds > 0 && found != sources.cend() && found->used;
    const RDSSource source = hasRds ? *found : RDSSource();
    const int newTmc = hasRds ? int(source.tmcsi) : 0;
    if (newTmc != tmcId || !announce) {
        if (announce && tmcId != 0)
            unsubscribe(QStringLiteral("tmc.%1").arg(tmcId));
        tmcId = newTmc;
        if (announce && tmcId != 0)
            subscribe(QStringLiteral("tmc.%1").arg(tmcId));
        readTmcSource();
    }
    const quint8 maskBefore = encoder->streamMask();
    encoder->setSource(source, channel.freq);
    if (announce && encoder->streamMask() != maskBefore)
        resend = kResendTicks;
}

void FMProgram::readTmcSource()
{
    encoder->setTMCSource(tmcId != 0 ? store->tmcSource(tmcId) : TMCSource());
}

void FMProgram::readAudioSource()
{
    const QMap<int, AudioSource> sources = store->audioSources();
    const auto found = sources.constFind(channel.idaudio);
    hasAudio = channel.idaudio > 0 && found != sources.cend() && found->used;
    audio = hasAudio ? *found : AudioSource();
    if (!hasAudio || audio.type != AudioSource::File) {
        bindPlaylist(QString());
        return;
    }
    if (audio.file != playlistReference || playlistId < 0)
        bindPlaylist(audio.file);
}

void FMProgram::bindPlaylist(const QString& reference)
{
    const qsizetype dot = reference.indexOf(QLatin1Char('.'));
    bool ok = false;
    const int number = dot >= 0 ? reference.mid(dot + 1).toInt(&ok) : 0;
    const bool isPlaylist =
        ok && reference.left(dot).compare(QLatin1String("playlist"), Qt::CaseInsensitive) == 0 &&
        store->playlists().contains(number);
    if (isPlaylist) {
        playlistId = number;
        if (!playlistKey.isEmpty())
            unsubscribe(playlistKey);
        playlistReference = reference;
        playlistKey = QStringLiteral("playlist.%1").arg(number);
        subscribe(playlistKey);
        decoder->setPlaylist(store->playlist(number));
        return;
    }
    playlistId = -1;
    if (!playlistKey.isEmpty())
        unsubscribe(playlistKey);
    playlistKey.clear();
    playlistReference = reference;
    decoder->setPlaylist(reference.isEmpty() ? QStringList() : QStringList{reference});
}

void FMProgram::notify(SetValue* event)
{
    const QString key = event->key.toLower();
    if (key.startsWith(QLatin1String("rds.")) && key.endsWith(QLatin1String("/name")))
        return;
    QMutexLocker locker(&mutex);
    if (!store)
        return;
    if (key.endsWith(QLatin1String("/idrds"))) {
        if (channel.idrds != 0)
            unsubscribe(QStringLiteral("rds.%1").arg(channel.idrds));
        channel.idrds = event->value.toInt();
        if (channel.idrds != 0)
            subscribe(QStringLiteral("rds.%1").arg(channel.idrds));
        resend = kResendTicksRdsSource;
        onRdsKey(key, event->value);
    } else if (key.startsWith(QLatin1String("rds.")) && key.contains(QLatin1String("/eon/"))) {
        onEonKey(key);
    } else if (key.startsWith(QLatin1String("rds."))) {
        onRdsKey(key, event->value);
    } else if (key.startsWith(QLatin1String("tmc."))) {
        readTmcSource();
    } else if (key.endsWith(QLatin1String("/idaudio"))) {
        if (channel.idaudio != 0)
            unsubscribe(QStringLiteral("audio.%1").arg(channel.idaudio));
        channel.idaudio = event->value.toInt();
        if (channel.idaudio != 0)
            subscribe(QStringLiteral("audio.%1").arg(channel.idaudio));
        readAudioSource();
    } else if (key.startsWith(QLatin1String("audio"))) {
        readAudioSource();
    } else if (key.startsWith(QLatin1String("play."))) {
        const int id = numberAfter(key, QLatin1String("play."));
        if (id >= 0 && id == playlistId) {
            qDebug("pr%02d %s %d", programme, qPrintable(key), event->value.toInt());
            decoder->jumpTo(event->value.toInt());
        }
    } else if (key.startsWith(QLatin1String("playlist."))) {
        bindPlaylist(playlistReference);
    } else if (key.startsWith(QLatin1String("channel"))) {
        onChannelKey(key, event->value);
    } else {
        qDebug("pr%02d skip set [%s]", programme, qPrintable(key));
    }
}

void FMProgram::onRdsKey(const QString& key, const QVariant& value)
{
    if (programme == 1)
        qDebug("pr%02d setRDS from [%s] [%s]", programme, qPrintable(key),
               qPrintable(value.toString()));
    readRdsSource(true);
}

// An EON change names its entry right after "/eon/"; the parts behind it
// (".../ps", ".../af") name the field, not the entry.
void FMProgram::onEonKey(const QString& key)
{
    encoder->setEONList(store->rdsSource(channel.idrds).eon, eonEntry(key));
}

int FMProgram::eonEntry(const QString& key)
{
    return numberAfter(key, QLatin1String("/eon/"));
}

void FMProgram::onChannelKey(const QString& key, const QVariant& value)
{
    const QString field = key.mid(key.lastIndexOf(QLatin1Char('/')) + 1);
    // The RDS text this programme sends is published under the channel for
    // the window; it is no setting of the channel.
    if (field == QLatin1String("rds"))
        return;
    // A key of the record is taken alone, from its notification: a client
    // setting one key in a loop must not have the record read again each
    // time, nor this thread wait for the store's lock while it writes.
    if (!FMSettings::takeChannelField(programme, field, value, channel))
        readChannel();
    if (field == QLatin1String("aof") || field == QLatin1String("att") ||
        field == QLatin1String("auto"))
        return;
    if (field == QLatin1String("mute") || field == QLatin1String("volm"))
        sendCommand(BoardCommand::volumeCommand(programme, channel));
    else if (field == QLatin1String("gain"))
        sendCommand(BoardCommand::gainCommand(programme, channel));
    else if (field == QLatin1String("rate"))
        sendCommand(BoardCommand::rateCommand(programme, channel));
    else if (field == QLatin1String("freq"))
        sendCommand(BoardCommand::carrierCommand(programme, channel, info.type(), bandTable));
    else
        sendFullCommand();
}

quint8 FMProgram::rdsMask() const
{
    return hasRds ? encoder->streamMask() : 0;
}

void FMProgram::sendFullCommand()
{
    sendCommand(BoardCommand::fullCommand(programme, channel, info.type(), bandTable, rdsMask()));
}

void FMProgram::sendCommand(QByteArray datagram)
{
    board->sendPacket(datagram);
}

int FMProgram::nominalRate() const
{
    if (channel.rate == 32000 || channel.rate == 48000)
        return channel.rate;
    return 44100;
}

bool FMProgram::stopDecoder(bool clear)
{
    stopRDSServer();
    decoder->requestStop(clear);
    return decoder->isStopped();
}

bool FMProgram::isDecoderStopped() const
{
    return !decoder || decoder->isStopped();
}

void FMProgram::waitDecoder()
{
    if (decoder)
        decoder->wait();
}

void FMProgram::abandonDecoder()
{
    // Deliberately never deleted: its thread may still use it.
    static_cast<void>(decoder.release());
}

void FMProgram::stopRDSServer()
{
    if (server)
        server->stop();
}

void FMProgram::startRDSServer(unsigned port)
{
    if (server)
        server->setPort(port - 1);
}

void FMProgram::setDataInputMaker(RdsDataInput::Maker maker)
{
    dataInputMaker() = std::move(maker);
}
