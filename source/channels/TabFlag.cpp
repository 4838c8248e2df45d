#include "channels/TabFlag.h"

#include "channels/Spectrum.h"

#include "ui_FlagUI.h"

#include <QMouseEvent>

namespace {

// The attenuation is written in the right 15 % of the band display's lower
// half; a click there opens the band dialog like one on the flag.
constexpr double kCornerLeft = 0.85;
constexpr double kCornerTop = 0.5;

struct BandFlag
{
    const char* icon;
    const char* tip;
};

const BandFlag kFlags[] = {
    {":/icons/flag36eu.png", QT_TRANSLATE_NOOP("TabFlag", "Europa FM-Band\n87.5 - 108.0 MHz")},
    {":/icons/flag36jpn.png", QT_TRANSLATE_NOOP("TabFlag", "Japan FM-Band\n76.0 - 95.0 MHz")},
    {":/icons/flag36br.png", QT_TRANSLATE_NOOP("TabFlag", "Brasilien FM-Band\n76.0 - 108.0 MHz")},
};

} // namespace

TabFlag::TabFlag(QWidget* parent) : QWidget(parent), ui(new Ui::FlagUI)
{
    ui->setupUi(this);
    // The main window and its tests know the strip by this name.
    setObjectName(QStringLiteral("tabFlag"));
    setOnAir(false);
}

TabFlag::~TabFlag()
{
    qDebug("~taf");
    delete ui;
}

Spectrum* TabFlag::spectrum() const
{
    return ui->spectrum;
}

void TabFlag::setOnAir(bool on)
{
    air = on;
    ui->spectrum->setOnAir(on);
    if (on) {
        ui->onair->setPixmap(QPixmap(QStringLiteral(":/icons/onair.png")));
        ui->onair->setToolTip(tr("FM Modulator HF aktiv\nKanäle werden gesendet"));
    } else {
        ui->onair->setPixmap(QPixmap(QStringLiteral(":/icons/offair.png")));
        ui->onair->setToolTip(tr("FM Modulator HF stumm\nKeine Kanäle werden gesendet"));
    }
}

void TabFlag::setBand(int band, int attenuation)
{
    shownBand = band;
    shownAttenuation = attenuation;
    ui->spectrum->setBand(band, attenuation);
    qDebug("taf: band %d attn %d", band, attenuation);
    if (band < 0 || band >= int(std::size(kFlags)))
        return;
    ui->flag->setPixmap(QPixmap(QString::fromLatin1(kFlags[band].icon)));
    ui->flag->setToolTip(tr(kFlags[band].tip));
}

void TabFlag::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (ui->onair->geometry().contains(position))
        emit clickOnAir();
    else if (ui->flag->geometry().contains(position) || inAttenuationCorner(position))
        emit clickBand();
}

bool TabFlag::inAttenuationCorner(const QPoint& position) const
{
    QRect corner = ui->spectrum->geometry();
    corner.setTopLeft(QPoint(int(corner.x() + kCornerLeft * corner.width()),
                             int(corner.y() + kCornerTop * corner.height())));
    return corner.contains(position);
}
