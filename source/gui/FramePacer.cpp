#include "gui/FramePacer.h"

#include "settings/MonotonicClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

FramePacer::FramePacer(QWidget* window, Clock clock)
    : QObject(window), window(window), clock(clock ? std::move(clock) : Clock(monotonicMs))
{
    frameEnd.setSingleShot(true);
    frameEnd.setTimerType(Qt::PreciseTimer);
    connect(&frameEnd, &QTimer::timeout, this, &FramePacer::paintHeld);
    window->installEventFilter(this);
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window || event->type() != QEvent::UpdateRequest || releasing)
        return false;
    const qint64 now = clock();
    if (!painted || now - lastPaint >= kFrameMs) {
        painted = true;
        lastPaint = now;
        return false;
    }
    // The toolkit asks again only once this request was answered: until
    // then every change of the window gathers in the one held repaint.
    ++held;
    if (!frameEnd.isActive())
        frameEnd.start(int(kFrameMs - (now - lastPaint)));
    return true;
}

void FramePacer::paintHeld()
{
    // The clock decides when the frame ends; the timer only wakes us.
    const qint64 since = clock() - lastPaint;
    if (since < kFrameMs) {
        frameEnd.start(int(kFrameMs - since));
        return;
    }
    lastPaint = clock();
    releasing = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
    releasing = false;
}
