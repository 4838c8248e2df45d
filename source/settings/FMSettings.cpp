#include "settings/FMSettings.h"

#include "settings/ParameterSchema.h"

#include <QReadLocker>
#include <QWriteLocker>

#include <algorithm>

FMSettings::FMSettings(const QString& fileName, QObject* parent) : Settings(fileName, parent)
{
    defineKeys();
    load();
}

FMSettings::~FMSettings() = default;

void FMSettings::defineKeys()
{
    ParameterSchema::define();
}

ChannelConfig FMSettings::channel(int number) const
{
    ChannelConfig config;
    config.channel = number;
    config.freq = ChannelConfig::defaultFrequency(std::clamp(number, 1, kChannelCount));
    const QString prefix = QStringLiteral("channel.%1.").arg(number);
    auto read = [&](const char* key, const QVariant& fallback) {
        return value(prefix + QLatin1String(key), fallback);
    };
    config.used = read("used", config.used).toBool();
    config.mute = read("mute", config.mute).toBool();
    config.mono = read("mono", config.mono).toBool();
    config.freq = read("freq", config.freq).toDouble();
    config.gain = qint8(read("gain", config.gain).toInt());
    config.volm = qint8(read("volm", config.volm).toInt());
    config.devi = read("devi", config.devi).toInt();
    config.emph = read("emph", config.emph).toInt();
    config.rate = read("rate", config.rate).toInt();
    config.autoRate = read("auto", config.autoRate).toBool();
    config.idaudio = read("idaudio", QVariant()).toInt();
    config.idrds = read("idrds", QVariant()).toInt();
    return config;
}

void FMSettings::setChannelConfig(int number, const ChannelConfig& config)
{
    const QString prefix = QStringLiteral("channel.%1.").arg(number);
    setValue(prefix + QLatin1String("mono"), int(config.mono));
    setValue(prefix + QLatin1String("devi"), config.devi);
    setValue(prefix + QLatin1String("emph"), config.emph);
    setValue(prefix + QLatin1String("rate"), config.rate);
    setValue(prefix + QLatin1String("auto"), int(config.autoRate));
}

int FMSettings::band() const
{
    QReadLocker locker(&recordsLock);
    return bandValue;
}

int FMSettings::attenuation() const
{
    QReadLocker locker(&recordsLock);
    return attnValue;
}

void FMSettings::setBandAttn(int& band, int& attn)
{
    QWriteLocker locker(&recordsLock);
    band = std::clamp(band, 0, 2);
    attn = std::clamp(attn, -31, 0);
    bandValue = band;
    attnValue = attn;
    if (rawValue(QStringLiteral("board/attn")).toInt() != attn) {
        rawStore(QStringLiteral("board/attn"), attn);
        publish(QStringLiteral("board.attn"), attn);
    }
    if (rawValue(QStringLiteral("board/band")).toInt() != band) {
        rawStore(QStringLiteral("board/band"), band);
        publish(QStringLiteral("board.band"), band);
    }
    ParameterSchema::setBandBounds(band);
}
