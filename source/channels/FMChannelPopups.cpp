// The strip's popups (value sliders, source choosers, context menu) and its
// look at every size.
#include "channels/FMChannel.h"

#include "channels/Lister.h"
#include "channels/Slider.h"
#include "settings/FMSettings.h"

#include "ui_FMChannel.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kMinPopupHeight = 33;
constexpr int kPopupWidthFactor = 14;
constexpr int kHideDelayMs = 100;
constexpr int kRdsFileTab = 3;
constexpr int kGainMin = -60;
} // namespace

QLabel* FMChannel::fieldAt(const QPoint& position) const
{
    for (QLabel* field : {ui->freq, ui->gain, ui->volm, ui->rds, ui->audio})
        if (field->geometry().contains(position))
            return field;
    return nullptr;
}

void FMChannel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QLabel* field = fieldAt(event->position().toPoint());
    if (field == ui->freq) {
        moveBelow(freqSlider, ui->freq);
        freqSlider->setValue(record.freq);
    } else if (field == ui->gain) {
        gainPopup->setRange(kGainMin, 0);
        gainPopup->setUnit(QStringLiteral("dB"));
        moveBelow(gainPopup, ui->gain);
        gainPopup->setValue(record.gain);
    } else if (field == ui->volm) {
        moveBelow(volumePopup, ui->volm);
        volumePopup->setValue(record.volm);
    } else if (field == ui->rds && store) {
        openChooser(rdsList, ui->rds, store->rdsSourceNames(), record.idrds);
    } else if (field == ui->audio && store) {
        openChooser(audioList, ui->audio, store->audioSourceNames(), record.idaudio);
    } else {
        setFocus();
    }
}

void FMChannel::openChooser(Lister* chooser, QLabel* field, const QMap<int, QString>& names,
                            int current)
{
    if (parentWidget())
        chooser->setFont(parentWidget()->font());
    chooser->setGeometry(field->rect());
    chooser->show();
    chooser->showList(names, current);
}

// A second click on the field closes its slider; otherwise the slider opens
// centred on the field's right edge, just below it, inside the screen.
void FMChannel::moveBelow(Slider* slider, QLabel* label)
{
    if (slider->isVisible()) {
        sliderHide();
        slider->hide();
        return;
    }
    waiting.removeAll(slider);
    sliderHide();
    const int h = std::max(label->height(), kMinPopupHeight);
    const int w = kPopupWidthFactor * h;
    slider->resize(w, h);
    QPoint corner = label->mapToGlobal(QPoint(label->width() - w / 2, label->height()));
    if (QScreen* screen = label->screen()) {
        const QRect area = screen->virtualGeometry();
        corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - w)));
        corner.setY(std::min(corner.y(), area.bottom() + 1 - h));
    } else {
        qDebug("moveBelow: screen not found");
    }
    slider->move(corner);
    slider->show();
    slider->activateWindow();
    slider->setFocus();
}

void FMChannel::sliderOut()
{
    if (auto* widget = qobject_cast<QWidget*>(sender()))
        waiting.append(widget);
    QTimer::singleShot(kHideDelayMs, this, &FMChannel::sliderHide);
}

void FMChannel::sliderHide()
{
    for (const QPointer<QWidget>& widget : std::as_const(waiting))
        if (widget)
            widget->hide();
    waiting.clear();
}

void FMChannel::wheelEvent(QWheelEvent* event)
{
    for (Slider* slider : {freqSlider, gainPopup, volumePopup}) {
        if (slider->hasFocus()) {
            QCoreApplication::sendEvent(slider, event);
            return;
        }
    }
    event->ignore();
}

void FMChannel::contextMenuEvent(QContextMenuEvent* event)
{
    menu->clear();
    const QPoint position = event->pos();
    const QIcon find(QStringLiteral(":/icons/find.png"));
    if (ui->rds->geometry().contains(position)) {
        menu->addAction(find, tr("Zeige RDS Quelle"), this, &FMChannel::findRDS);
        if (store && store->rdsSource(record.idrds).tmcsi != 0)
            menu->addAction(find, tr("Zeige TMC Quelle"), this, &FMChannel::findTMC);
        menu->addSeparator();
        menu->addAction(QIcon(QStringLiteral(":/icons/edit.png")), tr("RDS aus Datei senden"), this,
                        &FMChannel::openRDS);
    } else if (ui->audio->geometry().contains(position)) {
        menu->addAction(find, tr("Zeige Audio Quelle"), this, &FMChannel::findAudio);
    }
    if (!menu->isEmpty())
        menu->popup(event->globalPos());
}

void FMChannel::findRDS()
{
    emit showRDS(record.idrds, -1);
}

void FMChannel::openRDS()
{
    emit showRDS(record.idrds, kRdsFileTab);
}

void FMChannel::findAudio()
{
    emit showAudio(record.idaudio);
}

void FMChannel::findTMC()
{
    if (store)
        emit showTMC(int(store->rdsSource(record.idrds).tmcsi));
}

// The largest text size up to pixels at which a strip without a source
// still says so in full.
int FMChannel::fittingPixels(int pixels) const
{
    const std::pair<QLabel*, QString> fields[] = {{ui->rds, tr("<kein RDS>")},
                                                  {ui->audio, tr("<kein Audio>")}};
    QFont font = ui->freq->font();
    for (; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        const bool fit = std::all_of(std::begin(fields), std::end(fields), [&](const auto& field) {
            const int room = field.first->contentsRect().width() - field.first->indent();
            return metrics.horizontalAdvance(field.second) <= room;
        });
        if (fit)
            break;
    }
    return pixels;
}

void FMChannel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, Qt::black);
    shade.setColorAt(1, QColor(0x30, 0x30, 0x30));
    QPalette look = palette();
    look.setBrush(QPalette::Window, shade);
    setPalette(look);

    // More room, more spacing: 1 pixel at the smallest strip, up to 5.
    const int spacing = (width() * height() - 14700) * 4 / 45500 + 1;
    layout()->setSpacing(std::clamp(spacing, 1, 5));

    const int pixels = fittingPixels(
        int(std::min(0.15 * ui->freq->width(), 0.8 * ui->freq->height())));
    // Smaller at once, so nothing is cut; larger only by two pixels or more,
    // so the fields do not flicker while the window is dragged.
    if (pixels <= 0 || (pixels >= labelPixels && pixels - labelPixels < 2))
        return;
    labelPixels = pixels;
    QFont font = ui->freq->font();
    font.setPixelSize(pixels);
    font.setStyleStrategy(pixels < 16 ? QFont::PreferDefault : QFont::PreferAntialias);
    for (QLabel* field : {ui->freq, ui->gain, ui->volm, ui->rds, ui->audio})
        field->setFont(font);
}
