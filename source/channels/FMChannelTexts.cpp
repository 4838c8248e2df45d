// The strip's source fields and their tool tips.
#include "channels/FMChannel.h"

#include "settings/FMSettings.h"

#include "ui_FMChannel.h"

#include <QFileInfo>

namespace {
constexpr QRgb kRemoteColour = 0xFFA0A010;
// Entries from 1500 up are LF/MF frequencies: ten times the kHz value.
constexpr qint32 kFirstMediumWave = 1500;
constexpr quint8 kErrorInjection = 0x80;
constexpr quint8 kAfManual = 1;
constexpr quint8 kAfAutomatic = 2;

QString rateText(qint32 hz)
{
    return QString::number(hz * 0.001, 'g');
}
} // namespace

void FMChannel::setAudioName()
{
    const AudioSource source = store ? store->audioSource(record.idaudio) : AudioSource();
    if (source.used)
        ui->info->setAudioType(source.type);
    else
        setAudioID(0, true);
    if (record.idaudio == 0) {
        ui->audio->setText(tr("<kein Audio>"));
        ui->audio->setToolTip(QString());
        return;
    }
    ui->audio->setText(source.name);
    ui->audio->setToolTip(audioTip(source));
}

QString FMChannel::audioTip(const AudioSource& source) const
{
    QString tip = tr("Audio Quelle: ");
    if (source.type == AudioSource::Sine)
        return tip + tr("Sinus");
    if (source.type == AudioSource::Ramp)
        return tip + tr("Rampe");
    if (source.type != AudioSource::File)
        return tip;
    if (source.file.toLower().startsWith(QLatin1String("playlist."))) {
        tip += source.file;
        const QString name =
            store ? store->value(source.file + QLatin1String(".name")).toString() : QString();
        if (!name.isEmpty())
            tip += QStringLiteral(" (") + name + QLatin1Char(')');
        if (!song.isEmpty())
            tip += QLatin1Char('\n') + song;
    } else {
        tip += tr("Datei") + QLatin1Char('\n') + source.file;
    }
    return tip + songTip();
}

QString FMChannel::songTip() const
{
    if (!store)
        return QString();
    const SongInfo info = store->songInfo(number);
    QString tip;
    if (info.channels == 1)
        tip = QStringLiteral("\n%1 kHz Mono").arg(rateText(info.sampleRate));
    else if (info.channels == 2)
        tip = QStringLiteral("\n%1 kHz Stereo").arg(rateText(info.sampleRate));
    else if (info.channels > 2)
        tip = QStringLiteral("\n%1 kHz %2 Channels")
                  .arg(rateText(info.sampleRate))
                  .arg(info.channels);
    for (auto it = info.tags.cbegin(); it != info.tags.cend(); ++it)
        tip += QLatin1Char('\n') + it.key() + QStringLiteral(": %1").arg(it.value());
    return tip;
}

// While a remote client sends this channel's RDS, the field says so and
// names the sender.
void FMChannel::setRDSName(const QString& remote)
{
    const RDSSource source = store ? store->rdsSource(record.idrds) : RDSSource();
    if (!source.used)
        setRDSID(0, true);
    if (remoteRDS) {
        QPalette shade = ui->rds->palette();
        shade.setColor(QPalette::Base, QColor::fromRgba(kRemoteColour));
        ui->rds->setPalette(shade);
        ui->rds->setText(tr("Fernzugriff"));
        ui->rds->setToolTip(tr("Fernzugriff von: ") + (remote.isEmpty() ? remoteSender : remote));
        return;
    }
    ui->rds->setPalette(palette());
    if (record.idrds == 0) {
        ui->rds->setText(tr("<kein RDS>"));
        ui->rds->setToolTip(QString());
        return;
    }
    QStringList fileNames;
    if (source.playsLogFiles()) {
        for (const QString& path : source.files)
            fileNames.append(QFileInfo(path).fileName());
    }
    ui->rds->setText(fileNames.isEmpty() ? source.name : fileNames.join(QStringLiteral(", ")));
    ui->rds->setToolTip(rdsTip(source));
}

QString FMChannel::rdsTip(const RDSSource& source) const
{
    QString tip = tr("RDS Quelle Nr. %1 [%2]").arg(record.idrds).arg(source.ps);
    const bool fromFiles = source.playsLogFiles();
    if (fromFiles)
        tip += QLatin1Char('\n') + tr("aus Datei: ") + source.files.join(QStringLiteral(", "));
    else if (store && source.tmcsi != 0) {
        const QString tmc = store->tmcSource(int(source.tmcsi)).name;
        if (!tmc.isEmpty())
            tip += QLatin1Char('\n') + tr("TMC Quelle: %1").arg(tmc);
    }
    if ((source.err & kErrorInjection) && source.ber != 0)
        tip += QLatin1Char('\n') + tr("Bitfehlerrate: %1%").arg(source.ber);
    return fromFiles ? tip : tip + rdsFacts(source);
}

// The AF lists: the automatic one in MHz, the manual one with LF/MF entries
// in kHz.
QString FMChannel::rdsFacts(const RDSSource& source) const
{
    QString tip;
    if ((source.afu & kAfAutomatic) && !source.af.isEmpty()) {
        tip += QStringLiteral("\nAF auto");
        for (const AFEntry& entry : source.af)
            tip += QStringLiteral(" %1").arg(entry.freq / 10.0, 0, 'f', 1);
        tip += QStringLiteral(" MHz");
    }
    if ((source.afu & kAfManual) && !source.afs.isEmpty()) {
        tip += QStringLiteral("\nAF man");
        for (const AFEntry& entry : source.afs) {
            if (entry.freq < kFirstMediumWave)
                tip += QStringLiteral(" %1").arg(entry.freq / 10.0, 0, 'f', 1);
            else
                tip += QStringLiteral(" %1k").arg(QString::number(entry.freq / 10.0, 'g'));
        }
    }
    return tip;
}
