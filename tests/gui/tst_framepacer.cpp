// A window paints at most once per frame: repaints asked for within a
// frame of the last paint gather into one, made when the frame ends. The
// clock is the test's own, so what is held back does not depend on how fast
// the machine is; only the frame's end is waited for.
#include "gui/FramePacer.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

namespace {

struct PaintCount : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestFramePacer : public QObject
{
    Q_OBJECT

private slots:
    void changesWithinAFrameArePaintedOnce();
    void aChangeAfterAFrameIsPaintedAtOnce();
    void grabShowsTheLatestStateAtAnyTime();
};

namespace {

struct Window
{
    QWidget window;
    QLabel* label = new QLabel(QStringLiteral("-5 dB"));
    qint64 now = 1000;
    FramePacer* pacer = nullptr;
    PaintCount painted;

    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        window.resize(200, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        // The first repaint starts the first frame.
        pacer = new FramePacer(&window, [this] { return now; });
        label->installEventFilter(&painted);
        label->update();
        QTRY_VERIFY(painted.paints > 0);
        QCOMPARE(pacer->heldRepaints(), 0);
        painted.paints = 0;
    }
};

} // namespace

void TestFramePacer::changesWithinAFrameArePaintedOnce()
{
    Window w;
    for (int n = 0; n < 100; ++n) {
        w.label->setText(QStringLiteral("%1 dB").arg(-n));
        QCoreApplication::processEvents();
    }
    QCOMPARE(w.painted.paints, 0);
    QCOMPARE(w.pacer->heldRepaints(), 1);
    // At the frame's end the label is painted once, with its last text.
    w.now += FramePacer::kFrameMs;
    QTRY_COMPARE(w.painted.paints, 1);
    QCoreApplication::processEvents();
    QCOMPARE(w.painted.paints, 1);
    QCOMPARE(w.label->text(), QStringLiteral("-99 dB"));
}

void TestFramePacer::aChangeAfterAFrameIsPaintedAtOnce()
{
    Window w;
    w.now += FramePacer::kFrameMs;
    w.label->setText(QStringLiteral("-7 dB"));
    QTRY_VERIFY(w.painted.paints > 0);
    QCOMPARE(w.pacer->heldRepaints(), 0);
}

void TestFramePacer::grabShowsTheLatestStateAtAnyTime()
{
    Window w;
    QWidget other;
    w.label->setText(QStringLiteral("-12 dB"));
    QCoreApplication::processEvents();
    QCOMPARE(w.painted.paints, 0);
    // A picture of the window is drawn when asked for, held repaint or not.
    const QImage before = w.label->grab().toImage();
    w.label->setText(QStringLiteral("-1 dB"));
    QVERIFY(w.label->grab().toImage() != before);
}

QTEST_MAIN(TestFramePacer)
#include "tst_framepacer.moc"
