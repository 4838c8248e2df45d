#pragma once

#include "dynamic/Event.h"
#include "settings/Observer.h"

#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QSharedPointer>
#include <QString>
#include <QWidget>

#include <functional>

class DynModel;
class FMSettings;
class QMenu;
class QSplitter;
class QTimer;

// The event timeline: records every store change as a timed command while
// recording, plays the roll back through the store, and draws it as one
// row per group of keys with a square per event. The roll lives in the
// project ("events.1") and is stored on every change.
class Dynamic : public QWidget, public Observer
{
    Q_OBJECT
public:
    // Milliseconds of a clock that never jumps; the player measures with it.
    using Clock = std::function<qint64()>;

    static constexpr int kTickMs = 20;
    // Below this roll length the axis ticks fall on 200 ms, above on 1 s.
    static constexpr int kFineAxisMs = 10000;

    // Distance of the axis ticks for a roll length with room for so many
    // labels; the mark of an event's square for its instance number.
    static int tickStep(int rollLength, int labels);
    static QString squareMark(int number);

    explicit Dynamic(QWidget* parent = nullptr);
    ~Dynamic() override;

    DynModel* model() const { return events; }
    void setSettings(QSharedPointer<FMSettings> settings);
    QSharedPointer<FMSettings> settings() const { return store; }
    void setSplitter(QSplitter* splitter);
    void setClock(Clock clock);

    void notify(SetValue* event) override;
    void loadRoll();
    void storeRoll();
    void buildRows();
    QString rowInfo(int line) const;

    // What the player and the rows show, for the window and its tests.
    quint32 cursor() const { return position; }
    int rollLength() const { return length; }
    bool playing() const;
    bool recording() const { return record; }
    bool repeats() const { return repeat; }
    QSet<int> expandedRows() const { return expanded; }
    QString info() const { return infoText; }
    int rowCount() const { return lines; }
    QString rowLabel(int line) const { return rows.value(line).label; }
    int rowHeight() const { return h; }
    int squareWidth() const { return w; }
    // The column of the cursor line.
    int cursorX() const { return xOf(position); }
    int xOf(quint32 time) const;

public slots:
    void onPlay();
    void onPause();
    void onDelete();
    void onRecNow();
    void onRecord();
    void onRepeat(bool on);
    void onTime(int ms);
    void onList(bool on);
    void onSave();
    void onClear();
    void execute(Event event);
    void timeout();
    void onSplit();
    void execChanged(int row, Event& event);
    void update();

signals:
    void msTime(int ms);
    void setPlay(bool on);
    void setPause(bool on);
    void setRepeat(bool on);
    void showList(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum RowState
    {
        Leaf = 0,
        Closed = 1,
        Open = 2,
    };
    struct Row
    {
        int id = 0;
        QString label;
        int state = Leaf;
    };
    struct Hit
    {
        int row = -1;
        QString command;
        quint32 time = 0;
    };

    static QString idleInfo();
    qint64 now() const { return clock(); }
    void startPlaying();
    void endRecording();
    void announceTime(quint32 time);
    int axisWidth() const;
    int areaLeft() const;
    void measureLabels(const class QFontMetrics& metrics);
    int rowIdAt(int line) const { return rows.value(line).id; }
    void addRow(int& line, int id, bool leaf, const QString& label);
    Hit hitTest(const QPoint& point, bool select);
    void press(const QPoint& point, bool add);
    void selectLine(int line);
    void navigate(int row);
    QString tipAt(const QPoint& point);

    void paintStripes(class QPainter& painter);
    void paintAxis(QPainter& painter, const QColor& pen, int labels);
    void paintRows(QPainter& painter);
    void paintEvents(QPainter& painter);
    // Stripes, axis, row labels and event squares: everything but the
    // cursor, the event run's text and the navigation mark. A roll of
    // thousands of events is drawn into it once, not on every 20 ms tick.
    void paintRoll(const QFont& font);
    // The columns the cursor covers at time.
    QRect cursorStrip(quint32 time) const;
    void paintMark(QPainter& painter, const QRect& box, const QColor& colour, const QString& mark);

    QSharedPointer<FMSettings> store;
    DynModel* events;
    QTimer* timer;
    QMenu* menu;
    QPointer<QSplitter> split;
    Clock clock;

    qint64 start = 0;
    int length = 1000;
    quint32 position = 0;
    int next = -1;
    bool record = false;
    bool repeat = false;
    bool autoplay = true;
    int navIndex = -1;
    int pendingIndex = -1;
    bool announcing = false;
    QPixmap rollImage;
    bool rollImageStale = true;
    QString rollKey = QStringLiteral("events.1");
    QSet<int> expanded;
    QString infoText;

    QMap<int, Row> rows;
    int lines = 6;
    int w = 8;
    int h = 15;
    int labelColumn = 0; // the row labels' own room, left of time 0
};
