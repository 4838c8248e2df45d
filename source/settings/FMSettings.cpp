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

namespace {

// One field of the channel record: its key name and how a stored value (or
// the default record's value, when the key is absent) is taken.
struct ChannelField
{
    const char* name;
    void (*take)(ChannelConfig& config, const QVariant& stored, const ChannelConfig& defaults);
};

const ChannelField kChannelFields[] = {
    {"used", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.used = v.isValid() ? v.toBool() : d.used;
     }},
    {"mute", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.mute = v.isValid() ? v.toBool() : d.mute;
     }},
    {"mono", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.mono = v.isValid() ? v.toBool() : d.mono;
     }},
    {"freq", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.freq = v.isValid() ? v.toDouble() : d.freq;
     }},
    {"gain", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.gain = v.isValid() ? qint8(v.toInt()) : d.gain;
     }},
    {"volm", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.volm = v.isValid() ? qint8(v.toInt()) : d.volm;
     }},
    {"devi", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.devi = v.isValid() ? v.toInt() : d.devi;
     }},
    {"emph", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.emph = v.isValid() ? v.toInt() : d.emph;
     }},
    {"rate", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.rate = v.isValid() ? v.toInt() : d.rate;
     }},
    {"auto", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.autoRate = v.isValid() ? v.toBool() : d.autoRate;
     }},
    {"idaudio", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.idaudio = v.isValid() ? v.toInt() : d.idaudio;
     }},
    {"idrds", [](ChannelConfig& c, const QVariant& v, const ChannelConfig& d) {
         c.idrds = v.isValid() ? v.toInt() : d.idrds;
     }},
};

ChannelConfig defaultChannel(int number)
{
    ChannelConfig config;
    config.channel = number;
    config.freq = ChannelConfig::defaultFrequency(std::clamp(number, 1, FMSettings::kChannelCount));
    return config;
}

QString channelPrefix(int number)
{
    return QStringLiteral("channel.%1.").arg(number);
}

} // namespace

ChannelConfig FMSettings::channel(int number) const
{
    const ChannelConfig defaults = defaultChannel(number);
    ChannelConfig config = defaults;
    const QString prefix = channelPrefix(number);
    for (const ChannelField& field : kChannelFields)
        field.take(config, value(prefix + QLatin1String(field.name)), defaults);
    return config;
}

bool FMSettings::takeChannelField(int number, QStringView name, const QVariant& value,
                                  ChannelConfig& config)
{
    for (const ChannelField& field : kChannelFields) {
        if (name != QLatin1String(field.name))
            continue;
        field.take(config, value, defaultChannel(number));
        return true;
    }
    return false;
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
