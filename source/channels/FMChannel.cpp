#include "channels/FMChannel.h"

#include "channels/FMConfig.h"
#include "channels/Lister.h"
#include "channels/Slider.h"
#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"

#include "ui_FMChannel.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr QRgb kGreen = 0xFF108010;
constexpr QRgb kUnused = 0xFF505050;
constexpr QRgb kTextUsed = 0xFFE0E0E0;
constexpr QRgb kTextUnused = 0xFF808080;
constexpr double kFreqStep = 0.001;
constexpr double kEuropeMin = 87.5;
constexpr double kJapanBrazilMin = 76.0;
constexpr double kJapanMax = 95.0;
constexpr double kBandMax = 108.0;
constexpr int kGainMin = -60;
constexpr int kVolumeMax = 100;
// The play position mark, in shares of the audio field's width: the green
// fades into it over kMarkFade and it ends kMarkEdge after the position.
constexpr double kMarkFade = 0.12;
constexpr double kMarkEdge = 0.01;

void setRoleColour(QPalette& palette, QPalette::ColorRole role, QRgb colour)
{
    palette.setColor(role, QColor::fromRgba(colour));
}

Slider* makeSlider(double min, double max, double step, const QString& unit, const char* name,
                   QWidget* parent)
{
    auto* slider = new Slider(min, max, step, unit, parent);
    slider->setObjectName(QLatin1String(name));
    return slider;
}
} // namespace

FMChannel::FMChannel(int channel, QWidget* parent)
    : QFrame(parent), number(channel), ui(std::make_unique<Ui::FMChannel>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("channel%1").arg(channel));
    record.channel = channel;
    record.freq = ChannelConfig::defaultFrequency(channel);
    ui->use->text = QString::number(channel);
    freqSlider =
        makeSlider(kEuropeMin, kBandMax, kFreqStep, QStringLiteral("MHz"), "freqSlider", this);
    gainPopup = makeSlider(kGainMin, 0, 1, QStringLiteral("dB"), "gainSlider", this);
    volumePopup = makeSlider(0, kVolumeMax, 1, QStringLiteral("%"), "volumeSlider", this);
    audioList = new Lister(ui->audio);
    audioList->setObjectName(QStringLiteral("audioChooser"));
    audioList->hide();
    rdsList = new Lister(ui->rds);
    rdsList->setObjectName(QStringLiteral("rdsChooser"));
    rdsList->hide();
    menu = new QMenu(tr("Quellen"), this);
    menu->setObjectName(QStringLiteral("sources"));
    installEventFilter(new SetHandler(this));
    for (QLabel* field : {ui->freq, ui->gain, ui->volm, ui->rds, ui->audio})
        field->setBackgroundRole(QPalette::Base);
    ui->audio->installEventFilter(this);
    for (QToolButton* button : {ui->Bconfig, ui->Baudio}) {
        QPalette clear = button->palette();
        clear.setColor(QPalette::Button, Qt::transparent);
        button->setPalette(clear);
    }

    connect(ui->Bconfig, &QToolButton::clicked, this, &FMChannel::config);
    connect(ui->Baudio, &QToolButton::clicked, this, &FMChannel::setMute);
    connect(ui->use, &OnOff::clicked, this, &FMChannel::setUsed);
    connect(freqSlider, &Slider::valueChanged, this, &FMChannel::setFreq);
    connect(gainPopup, &Slider::valueChanged, this, &FMChannel::setGain);
    connect(volumePopup, &Slider::valueChanged, this, &FMChannel::setVolume);
    for (Slider* slider : {freqSlider, gainPopup, volumePopup})
        connect(slider, &Slider::focusOut, this, &FMChannel::sliderOut);
    connect(audioList, qOverload<int>(&Lister::selected), this, [this](int id) { setAudioID(id); });
    connect(rdsList, qOverload<int>(&Lister::selected), this, [this](int id) { setRDSID(id); });
    ui->info->setState(record);
}

FMChannel::~FMChannel()
{
    if (store)
        store->unsubscribeAll(this);
}

void FMChannel::refresh(QSharedPointer<FMSettings> settings)
{
    if (store)
        store->unsubscribeAll(this);
    // What the old project's engine published last is still on its way;
    // it must not paint over the new project's strip.
    if (store != settings)
        QCoreApplication::removePostedEvents(this, SetValue::kType);
    store = std::move(settings);
    if (!store)
        return;
    store->subscribe(QStringLiteral("board.band"), this);
    store->subscribe(QStringLiteral("chstatus.%1").arg(number), this);
    // Status and play position change all the time; the strip shows the newest.
    store->takeLatestStateValues(this);
    setBand(store->band());
    readRecord();
    ui->info->setStore(store);
    subscribeAudio(true);
    subscribeRDS(true);
    for (const char* group : {"channel.%1", "rdsin.%1"})
        store->subscribe(QString::fromLatin1(group).arg(number), this);
    // Of the channel's run-time values the strip shows these; the RDS log
    // records published beside them, hundreds a second, are not its business.
    for (const char* info :
         {"chinfo.%1/dist", "chinfo.%1/playpos", "chinfo.%1/playing", "chinfo.%1/playrate"})
        store->subscribe(QString::fromLatin1(info).arg(number), this);
    setUsed(record.used);
    setAudioName();
    setRDSName();
    ui->Baudio->setChecked(record.mute);
    ui->volm->setText(QStringLiteral("%1%").arg(record.volm));
    showGain();
    setFreq(record.freq);
}

void FMChannel::updateInfo(const BoardInfo& info)
{
    ui->info->setBoardInfo(info);
}

// A key of the record is taken alone, from its notification; anything else
// reads the whole record.
void FMChannel::readChangedField(const QString& key, const QVariant& value)
{
    const QStringView name = QStringView(key).sliced(key.lastIndexOf(QLatin1Char('/')) + 1);
    if (!FMSettings::takeChannelField(number, name, value, record)) {
        readRecord();
        return;
    }
    ui->info->setState(record);
}

void FMChannel::readRecord()
{
    record = store->channel(number);
    record.channel = number;
    ui->info->setState(record);
}

// Japan ends at 95 MHz, Brazil and Japan start at 76 MHz.
void FMChannel::setBand(int band)
{
    bandMin = band == 1 || band == 2 ? kJapanBrazilMin : kEuropeMin;
    bandMax = band == 1 ? kJapanMax : kBandMax;
    freqSlider->setRange(bandMin, bandMax);
}

void FMChannel::notify(SetValue* event)
{
    const QString& key = event->key;
    const QVariant& value = event->value;
    if (key.startsWith(QLatin1String("chstatus"))) {
        if (store)
            ui->info->setStatus(store->channelInfo(number));
    } else if (key.startsWith(QLatin1String("board"))) {
        if (key != QLatin1String("board.band"))
            return;
        setBand(value.toInt());
        if (record.freq < bandMin || record.freq > bandMax)
            setUsed(false);
        else
            updateColor();
    } else if (key.startsWith(QLatin1String("rdsin"))) {
        notifyRemote(value.toString());
    } else if (key.endsWith(QLatin1String("/name"))) {
        if (key.startsWith(QLatin1String("audio")))
            ui->audio->setText(value.toString());
        else if (key.startsWith(QLatin1String("rds")))
            ui->rds->setText(value.toString());
    } else if (key.startsWith(QLatin1String("rds"))) {
        setRDSName();
    } else if (key.startsWith(QLatin1String("audio"))) {
        setAudioName();
    } else if (key.startsWith(QLatin1String("chinfo"))) {
        notifyInfo(key, value);
    } else if (key.startsWith(QLatin1String("channel"))) {
        notifyChannel(key, value);
    }
}

void FMChannel::notifyRemote(const QString& sender)
{
    if (sender.isEmpty() && remoteRDS) {
        remoteRDS = false;
        remoteSender.clear();
        setRDSName();
        qDebug("Ch%02d rds local", number);
    } else if (!sender.isEmpty() && !remoteRDS) {
        remoteRDS = true;
        remoteSender = sender;
        setRDSName(sender);
        qDebug("Ch%02d rds remote", number);
    }
}

void FMChannel::notifyInfo(const QString& key, const QVariant& value)
{
    if (key.endsWith(QLatin1String("/dist"))) {
        bool ok = false;
        const double mhz = value.toDouble(&ok);
        if (ok && mhz != distance) {
            distance = mhz;
            updateColor();
        }
    } else if (key.endsWith(QLatin1String("/playpos"))) {
        paintPlayPosition(value.toInt());
    } else if (key.endsWith(QLatin1String("/playing"))) {
        song = value.toString();
        setAudioName();
    } else if (key.endsWith(QLatin1String("/playrate"))) {
        followPlayRate(value.toUInt());
    }
}

void FMChannel::followPlayRate(unsigned rate)
{
    ui->info->setPlayRate(rate);
    if (rate != 0 && int(rate) != record.rate && record.autoRate)
        writeKey(QStringLiteral("rate"), int(rate));
}

void FMChannel::notifyChannel(const QString& key, const QVariant& value)
{
    if (key.endsWith(QLatin1String("/idaudio"))) {
        song.clear();
        setAudioID(value.toInt(), false);
        QPalette shade = ui->audio->palette();
        setRoleColour(shade, QPalette::Base, record.used ? kGreen : kUnused);
        ui->audio->setPalette(shade);
        // The old source's position is no position of the new one.
        marker = -1;
        setAudioName();
        return;
    }
    if (key.endsWith(QLatin1String("/rate"))) {
        record.rate = value.toInt();
        ui->info->setRate(unsigned(record.rate));
        return;
    }
    // The RDS text the encoder sends: the strip shows the source itself.
    if (key.endsWith(QLatin1String("/rds")))
        return;
    if (!store)
        return;
    const ChannelConfig before = record;
    // The chooser has set the number already; the name follows the key.
    const bool rdsChosen = key.endsWith(QLatin1String("/idrds"));
    if (rdsChosen) {
        store->updateAutoAF(false);
        setRDSID(value.toInt(), false);
    }
    readChangedField(key, value);
    showChanged(before, rdsChosen);
}

// A remote client setting one key in a loop must not have the whole strip
// recoloured each time (that also wiped the play position mark): only what
// differs from before is shown again. The record equals the store's here, so
// none of these writes anything back.
void FMChannel::showChanged(const ChannelConfig& before, bool rdsChosen)
{
    const bool carrier = record.used != before.used || record.freq != before.freq;
    if (carrier)
        setUsed(record.used);
    if (record.mute != before.mute)
        setMute(record.mute);
    if (carrier)
        setFreq(record.freq);
    if (record.gain != before.gain)
        setGain(record.gain);
    if (record.volm != before.volm)
        setVolume(record.volm);
    if (carrier || rdsChosen || record.idrds != before.idrds)
        setRDSName();
}

void FMChannel::writeKey(const QString& name, int value)
{
    if (store)
        store->setValue(QStringLiteral("channel.%1.%2").arg(number).arg(name), value, true,
                        nullptr);
}

void FMChannel::setUsed(bool used)
{
    // A carrier outside the band must not go on air: the switch (and the
    // window's channel keys) leave such a channel off; the tool tip says why.
    if (used && !record.used && !inBand()) {
        qDebug("Ch%02d %.3f MHz outside the band, stays off", number, record.freq);
        ui->use->on = false;
        ui->use->update();
        return;
    }
    if (used != record.used) {
        writeKey(QStringLiteral("used"), used ? 1 : 0);
        if (store)
            store->setChannelFreq(number, record.freq, used);
    }
    record.used = used;
    ui->use->on = used;
    ui->use->update();
    QPalette shade = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        shade.setColor(group, QPalette::Base, QColor::fromRgba(used ? kGreen : kUnused));
        shade.setColor(group, QPalette::Text, QColor::fromRgba(used ? kTextUsed : kTextUnused));
        shade.setColor(group, QPalette::AlternateBase,
                       QColor::fromRgba(used ? stripColour : kUnused));
    }
    ui->freq->setBackgroundRole(used ? QPalette::AlternateBase : QPalette::Base);
    ui->freq->setForegroundRole(QPalette::Text);
    ui->rds->setPalette(shade);
    ui->audio->setPalette(shade);
    // The plain palette has wiped the play position mark.
    marker = -1;
    playPermille = -1;
    setPalette(shade);
    updateColor();
}

// Too close a neighbour turns the strip yellow, then red; outside the band
// it is red whatever the neighbours.
void FMChannel::updateColor()
{
    constexpr double kNear = 0.3;
    constexpr double kTooNear = 0.2;
    QRgb colour = kGreen;
    if (distance < kNear)
        colour = 0xFFA0A010;
    if (distance < kTooNear)
        colour = 0xFF903030;
    if (!inBand())
        colour = 0xFFC03030;
    stripColour = colour;
    showBandTip();
    if (!record.used)
        return;
    QPalette shade = palette();
    setRoleColour(shade, QPalette::AlternateBase, colour);
    setPalette(shade);
}

bool FMChannel::inBand() const
{
    return record.freq >= bandMin && record.freq <= bandMax;
}

void FMChannel::showBandTip()
{
    setToolTip(inBand() ? QString()
                        : tr("%1 MHz liegt außerhalb des Bands (%2 bis %3 MHz): der Kanal lässt "
                             "sich nicht einschalten.")
                              .arg(QString::number(record.freq), QString::number(bandMin),
                                   QString::number(bandMax)));
}

void FMChannel::setMute(bool mute)
{
    if (mute != record.mute) {
        record.mute = mute;
        writeKey(QStringLiteral("mute"), mute ? 1 : 0);
    }
    ui->Baudio->setChecked(mute);
}

void FMChannel::setGain(double db)
{
    const int gain = int(std::lround(db));
    if (gain != record.gain) {
        record.gain = qint8(gain);
        writeKey(QStringLiteral("gain"), gain);
    }
    showGain();
}

void FMChannel::showGain()
{
    ui->gain->setText(QStringLiteral("%1").arg(record.gain));
}

void FMChannel::setVolume(double percent)
{
    const int volume = int(std::lround(percent));
    if (volume != record.volm) {
        record.volm = qint8(volume);
        writeKey(QStringLiteral("volm"), volume);
    }
    ui->volm->setText(QStringLiteral("%1%").arg(record.volm));
}

// Two decimals unless the third is needed: 95.80 MHz, 95.805 MHz.
void FMChannel::setFreq(double mhz)
{
    record.freq = mhz;
    if (store)
        store->setChannelFreq(number, mhz, record.used);
    QString text = QStringLiteral("%L1").arg(mhz, 0, 'f', 3);
    const double hundredths = mhz * 100;
    if (std::fabs(hundredths - std::round(hundredths)) < 1e-6)
        text.chop(1);
    ui->freq->setText(text + QStringLiteral(" MHz"));
    showBandTip();
}

void FMChannel::subscribeAudio(bool on)
{
    if (record.idaudio != 0)
        follow({QStringLiteral("audio.%1").arg(record.idaudio)}, on);
}

// A source's "used" key is followed too, so that a source switched off
// elsewhere is dropped at once.
void FMChannel::subscribeRDS(bool on)
{
    if (record.idrds == 0)
        return;
    QStringList keys;
    for (const char* name : {"used", "name", "af", "ps", "err", "ber", "fused", "files"})
        keys.append(QStringLiteral("rds.%1.%2").arg(record.idrds).arg(QLatin1String(name)));
    follow(keys, on);
}

void FMChannel::follow(const QStringList& keys, bool on)
{
    if (!store)
        return;
    for (const QString& key : keys) {
        if (on)
            store->subscribe(key, this);
        else
            store->unsubscribe(key, this);
    }
}

void FMChannel::setAudioID(int id, bool write)
{
    subscribeAudio(false);
    record.idaudio = id;
    if (write)
        writeKey(QStringLiteral("idaudio"), id);
    subscribeAudio(true);
}

void FMChannel::setRDSID(int id, bool write)
{
    subscribeRDS(false);
    record.idrds = id;
    if (write)
        writeKey(QStringLiteral("idrds"), id);
    subscribeRDS(true);
}

// An unused channel plays nothing, whatever its engine still reports.
void FMChannel::paintPlayPosition(int permille)
{
    // A strip out of sight (another board's tab, another page) only keeps
    // the newest position and marks it when shown.
    playPermille = permille;
    if (!isVisible())
        return;
    const int width = ui->audio->width();
    const int position = int(std::lround(permille * width * 0.001));
    if (!record.used || position == marker || width <= 0)
        return;
    // The mark is painted over the field's background: a moving mark costs
    // a repaint of the field, not a new palette for it (and its chooser).
    const int previous = marker;
    marker = position;
    if (previous < 0) {
        ui->audio->update();
        return;
    }
    // Only where the old or the new mark and its fade lie: with short songs
    // the marks of dozens of strips move every frame.
    const int left = std::min(previous, position) - int(std::ceil(width * kMarkFade)) - 2;
    const int right = std::max(previous, position) + int(std::ceil(width * kMarkEdge)) + 2;
    ui->audio->update(QRect(left, 0, right - left, ui->audio->height()));
}

bool FMChannel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui->audio || event->type() != QEvent::Paint || marker < 0 || playPermille < 0 ||
        !record.used)
        return QFrame::eventFilter(watched, event);
    const int width = ui->audio->width();
    if (width <= 0)
        return false;
    // From the newest position at the field's present width: a resized strip
    // marks the same place.
    const double p = double(std::lround(playPermille * width * 0.001)) / width;
    QLinearGradient mark(0, 0, width, 0);
    mark.setColorAt(std::clamp(p - kMarkFade, 0.0, 1.0), QColor::fromRgba(kGreen));
    mark.setColorAt(std::clamp(p - kMarkEdge, 0.01, 1.0), QColor::fromRgba(0xFFA0B020));
    mark.setColorAt(std::clamp(p, 0.0, 0.99), QColor::fromRgba(0xFFA0B020));
    mark.setColorAt(std::clamp(p + kMarkEdge, 0.0, 1.0), QColor::fromRgba(kGreen));
    QPainter painter(ui->audio);
    painter.fillRect(ui->audio->rect(), mark);
    // The label draws its frame and text on top.
    return false;
}

void FMChannel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (playPermille >= 0)
        paintPlayPosition(playPermille);
}

void FMChannel::config()
{
    FMConfig dialog(number, store, this);
    dialog.adjustSize();
    if (ModalQuestions::exec(&dialog) != QDialog::Accepted || !store)
        return;
    readRecord();
}
