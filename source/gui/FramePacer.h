#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

// Paints a window at most once per frame. The toolkit repaints a window in
// every pass of the event loop in which a widget of it changed; with the
// boards reporting play positions and a remote client setting keys line by
// line, that is thousands of passes a second, each painting the same window
// again for an eye that sees fifty frames at most. A repaint asked for
// within a frame of the last one is held back and made when the frame ends,
// once for everything changed meanwhile. Exposing, resizing and grabbing
// the window are not held back.
class FramePacer : public QObject
{
public:
    static constexpr int kFrameMs = 20;
    // Milliseconds of a monotonic clock; tests hand in their own.
    using Clock = std::function<qint64()>;

    explicit FramePacer(QWidget* window, Clock clock = {});

    int heldRepaints() const { return held; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintHeld();

    QWidget* window;
    Clock clock;
    QTimer frameEnd;
    qint64 lastPaint = 0;
    bool painted = false;
    bool releasing = false;
    int held = 0;
};
