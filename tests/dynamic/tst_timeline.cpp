// The timeline widget and the event list beside it, driven as the user does:
// rows opened by clicks, squares and rows selected in either view, keys,
// tool tips, the clear question and the list switch.
#include "dynamic/timeline/DynEdit.h"
#include "dynamic/timeline/DynModel.h"
#include "dynamic/timeline/Dynamic.h"

#include "KeyRecorder.h"
#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"
#include "settings/SetValue.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <climits>
#include <memory>

namespace {

constexpr int kWidth = 600;
const QColor kAxis(0x34, 0x76, 0xDD);

QList<int> sorted(const QSet<int>& set)
{
    QList<int> list(set.cbegin(), set.cend());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class TestTimeline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyRollShowsTwoHeaderLines();
    void rowsOpenByClicksInTheLabelColumn();
    void eventsAtZeroLeaveTheLabelsReadable();
    void otherKeysRowNeverOpens();
    void squareMarks_data();
    void squareMarks();
    void tickSteps_data();
    void tickSteps();
    void ticksArePaintedOnTheAxis();
    void longestRollsPaintTheirAxis_data();
    void longestRollsPaintTheirAxis();
    void labelColumnPressSelectsTheKey_data();
    void labelColumnPressSelectsTheKey();
    void squareClicksSelectTableRows();
    void tableClicksMarkSquares();
    void addOnAnEmptyTableOpensTheCommand();
    void clearAsksFirst_data();
    void clearAsksFirst();
    void keysStepAndRunOneEventOnce();
    void dragMovesTheCursorOnlyWhileStanding();
    void wheelChangesNothing();
    void menuOnlyWithSelection();
    void toolTips_data();
    void toolTips();
    void listSwitchFollowsTheSplitter();
    void tickRepaintsOnlyTheCursorStrip();

private:
    void load(const QList<Event>& roll, const QSet<int>& expanded = {});
    int line() const { return timeline->rowHeight(); }
    QPoint labelOf(int row) const { return QPoint(2, row * line() + line() / 2); }
    QPoint squareOf(int row) const
    {
        const Event event = timeline->model()->event(row);
        return QPoint(event.x + timeline->squareWidth() / 2 + 2, event.y);
    }
    QTableView* list() const { return editor->findChild<QTableView*>(QStringLiteral("list")); }
    QList<int> tableRows() const;
    QImage paint() { return timeline->grab().toImage(); }

    std::unique_ptr<QTemporaryDir> dir;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<QSplitter> splitter;
    Dynamic* timeline = nullptr;
    DynEdit* editor = nullptr;
};

void TestTimeline::initTestCase()
{
    ModalQuestions::setUnattended(true);
}

// The widgets wired as the program window wires them.
void TestTimeline::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = QSharedPointer<FMSettings>::create(dir->filePath(QStringLiteral("p.fm")));
    splitter = std::make_unique<QSplitter>(Qt::Horizontal);
    auto* scroll = new QScrollArea(splitter.get());
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    timeline = new Dynamic;
    scroll->setWidget(timeline);
    editor = new DynEdit(splitter.get());
    editor->setModel(timeline->model());
    splitter->addWidget(scroll);
    splitter->addWidget(editor);
    splitter->setCollapsible(1, true);
    timeline->setSplitter(splitter.get());
    DynModel* model = timeline->model();
    connect(model, &DynModel::onSelClear, editor, &DynEdit::onSelClear);
    connect(model, &DynModel::onSelInsert, editor, &DynEdit::onSelInsert);
    connect(model, &DynModel::onSelRemove, editor, &DynEdit::onSelRemove);
    connect(model, &DynModel::onSelClear, timeline, &Dynamic::update);
    connect(model, &DynModel::onSelInsert, timeline, &Dynamic::update);
    connect(model, &DynModel::onSelRemove, timeline, &Dynamic::update);
    // The time box's echo, as the player form gives it.
    connect(timeline, &Dynamic::msTime, timeline, &Dynamic::onTime);
    splitter->resize(kWidth + 300, 400);
    splitter->setSizes({kWidth, 300});
    splitter->show();
    QVERIFY(QTest::qWaitForWindowExposed(splitter.get()));
    timeline->setSettings(store);
    ModalQuestions::clear();
}

void TestTimeline::cleanup()
{
    splitter.reset();
    store.reset();
    dir.reset();
}

void TestTimeline::load(const QList<Event>& roll, const QSet<int>& expanded)
{
    QList<Event> classified;
    for (Event event : roll) {
        event.classify();
        classified.append(event);
    }
    store->setRoll(QStringLiteral("events.1"), classified, expanded, false);
    timeline->loadRoll();
    paint();
}

QList<int> TestTimeline::tableRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : list()->selectionModel()->selectedRows(0))
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TestTimeline::emptyRollShowsTwoHeaderLines()
{
    const QImage image = paint();
    QCOMPARE(timeline->rowCount(), 2);
    QCOMPARE(timeline->rollLength(), 1000);
    QVERIFY(timeline->rowLabel(2).isEmpty());
    QCOMPARE(timeline->minimumHeight(), 2 * line() + 1);
    const int x = timeline->width() - timeline->squareWidth() - 8;
    QCOMPARE(image.pixelColor(x, line() + line() / 2), QColor(0x10, 0x10, 0x10));
    QCOMPARE(image.pixelColor(x, 2 * line() + 3), QColor(Qt::black));
    // The axis ends at 1000 ms with a mark at its right end.
    QCOMPARE(image.pixelColor(timeline->xOf(1000), 1), kAxis);
}

void TestTimeline::rowsOpenByClicksInTheLabelColumn()
{
    load({Event(200, QStringLiteral("rds.1.ps HI"))});
    QCOMPARE(timeline->rowLabel(2), QStringLiteral("rds"));
    QCOMPARE(timeline->rowCount(), 3);
    QCOMPARE(int(timeline->model()->event(0).line), 2);

    QTest::mouseClick(timeline, Qt::LeftButton, {}, labelOf(2));
    QCOMPARE(timeline->rowLabel(3), QStringLiteral("rds.1"));
    QCOMPARE(int(timeline->model()->event(0).line), 3);
    QTest::mouseClick(timeline, Qt::LeftButton, {}, labelOf(3));
    QCOMPARE(timeline->rowLabel(2), QStringLiteral("rds"));
    QCOMPARE(timeline->rowLabel(3), QStringLiteral("rds.1"));
    QCOMPARE(timeline->rowLabel(4), QStringLiteral(".ps"));
    QCOMPARE(timeline->rowCount(), 5);
    QCOMPARE(int(timeline->model()->event(0).line), 4);
    QCOMPARE(timeline->info(), QStringLiteral("rds.1"));
    QStringList written =
        store->rawValue(QStringLiteral("events.1/expand")).toString().split(QLatin1Char(' '));
    written.sort();
    QCOMPARE(written, (QStringList{QStringLiteral("400"), QStringLiteral("401")}));

    // A leaf's mark is its number: clicking it keeps the row open.
    QTest::mouseClick(timeline, Qt::LeftButton, {}, labelOf(4));
    QCOMPARE(timeline->rowLabel(4), QStringLiteral(".ps"));
    QCOMPARE(timeline->info(), QStringLiteral("rds.1.ps"));
    // Closing the type row hides everything below it.
    QTest::mouseClick(timeline, Qt::LeftButton, {}, labelOf(2));
    QCOMPARE(timeline->rowCount(), 3);
    QCOMPARE(timeline->expandedRows(), QSet<int>{0x401});
}

// Time 0 starts right of the longest row label, so a square there covers no
// label, and every square lies on the widget.
void TestTimeline::eventsAtZeroLeaveTheLabelsReadable()
{
    load({Event(0, QStringLiteral("rds.1.ps HI")), Event(0, QStringLiteral("channel.1.freq 95.8")),
          Event(1000, QStringLiteral("rds.1.pi 1234"))},
         {0x400, 0x401, 0x100, 0x101});
    const QFontMetrics metrics(QFont(QStringLiteral("Consolas"), 9));
    int labelsEnd = 0;
    for (int line = 0; line < timeline->rowCount(); ++line)
        labelsEnd = std::max(labelsEnd, timeline->squareWidth() + 7 +
                                            metrics.horizontalAdvance(timeline->rowLabel(line)));
    QVERIFY(!timeline->rowLabel(4).isEmpty());
    QVERIFY(timeline->xOf(0) > labelsEnd);
    for (int row = 0; row < timeline->model()->rowCount(); ++row) {
        const Event event = timeline->model()->event(row);
        QVERIFY2(event.x > labelsEnd || event.time != 0, qPrintable(event.command));
        QVERIFY2(event.x + timeline->squareWidth() + 3 < timeline->width(),
                 qPrintable(event.command));
    }
}

void TestTimeline::otherKeysRowNeverOpens()
{
    load({Event(100, QStringLiteral("modul.remote 1")),
          Event(300, QStringLiteral("modul.remote 0"))});
    QCOMPARE(timeline->rowLabel(2), QStringLiteral("?"));
    QTest::mouseClick(timeline, Qt::LeftButton, {}, labelOf(2));
    QCOMPARE(timeline->rowCount(), 3);
    QVERIFY(timeline->expandedRows().isEmpty());
    // Its label column still selects its events.
    QCOMPARE(sorted(timeline->model()->selection()), (QList<int>{0, 1}));
}

void TestTimeline::squareMarks_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("mark");
    QTest::newRow("no instance") << 0 << "*";
    QTest::newRow("one digit") << 7 << "7";
    QTest::newRow("two digits") << 99 << "99";
    QTest::newRow("hundred") << 100 << "++";
    QTest::newRow("above hundred") << 120 << "++";
}

void TestTimeline::squareMarks()
{
    QFETCH(int, number);
    QTEST(Dynamic::squareMark(number), "mark");
}

void TestTimeline::tickSteps_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("step");
    QTest::newRow("5 s, 12 labels") << 5000 << 12 << 1200;
    QTest::newRow("20 s, 12 labels") << 20000 << 12 << 5000;
    QTest::newRow("1 s, 12 labels") << 1000 << 12 << 200;
    QTest::newRow("1 s, 3 labels") << 1000 << 3 << 1000;
    QTest::newRow("step rounding to 0 takes the base") << 1000 << 30 << 200;
    QTest::newRow("long roll, step rounding to 0") << 12000 << 60 << 1000;
}

void TestTimeline::tickSteps()
{
    QFETCH(int, length);
    QFETCH(int, labels);
    QTEST(Dynamic::tickStep(length, labels), "step");
}

void TestTimeline::ticksArePaintedOnTheAxis()
{
    load({Event(5000, QStringLiteral("rds.1.ps HI"))});
    QCOMPARE(timeline->rollLength(), 5000);
    const QImage image = paint();
    const int labels =
        timeline->width() / QFontMetrics(QFont(QStringLiteral("Consolas"), 9), timeline)
                                .horizontalAdvance(QStringLiteral("5000"));
    const int step = Dynamic::tickStep(5000, labels);
    QVERIFY(step > 0 && step < 5000);
    QCOMPARE(image.pixelColor(timeline->xOf(quint32(step)), 1), kAxis);
    QCOMPARE(image.pixelColor(timeline->xOf(quint32(2 * step)), 1), kAxis);
    QVERIFY(image.pixelColor(timeline->xOf(quint32(step) + 100), 1) != kAxis);
}

void TestTimeline::longestRollsPaintTheirAxis_data()
{
    QTest::addColumn<quint32>("last");
    QTest::newRow("last event at the largest signed time") << quint32(INT_MAX);
    QTest::newRow("last event one tick short of it") << quint32(INT_MAX - 1000);
    QTest::newRow("last event at the largest unsigned time") << quint32(UINT_MAX);
    QTest::newRow("last event just past the signed range") << quint32(INT_MAX) + 1;
}

// A roll read from a project may end anywhere in the 32-bit range; the
// axis must still be drawn, with its first tick and its end line.
void TestTimeline::longestRollsPaintTheirAxis()
{
    QFETCH(quint32, last);
    load(
        {Event(0, QStringLiteral("rds.1.ps EARLY")), Event(last, QStringLiteral("rds.1.ps LATE"))});
    const int length = int(std::min<quint32>(last, INT_MAX));
    QCOMPARE(timeline->rollLength(), length);
    const QImage image = paint();
    QCOMPARE(image.pixelColor(timeline->xOf(0), 1), kAxis);
    QCOMPARE(image.pixelColor(timeline->xOf(quint32(length)), 1), kAxis);
}

void TestTimeline::labelColumnPressSelectsTheKey_data()
{
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("alone") << false << QList<int>{1};
    QTest::newRow("with ctrl added") << true << QList<int>{0, 1, 2};
}

void TestTimeline::labelColumnPressSelectsTheKey()
{
    QFETCH(bool, ctrl);
    // Lines: rds 2, rds.1 3, .pi 4, .ps 5.
    load({Event(100, QStringLiteral("rds.1.ps A")), Event(200, QStringLiteral("rds.1.pi 1234")),
          Event(300, QStringLiteral("rds.1.ps B"))},
         {0x400, 0x401});
    QCOMPARE(timeline->rowLabel(5), QStringLiteral(".ps"));
    QTest::mouseClick(timeline, Qt::LeftButton, {}, labelOf(5));
    QCOMPARE(sorted(timeline->model()->selection()), (QList<int>{0, 2}));
    QCOMPARE(timeline->info(), QStringLiteral("rds.1.ps"));
    QTest::mouseClick(timeline, Qt::LeftButton, ctrl ? Qt::ControlModifier : Qt::NoModifier,
                      labelOf(4));
    QFETCH(QList<int>, selected);
    QCOMPARE(sorted(timeline->model()->selection()), selected);
    QCOMPARE(tableRows(), selected);
    // A type row selects nothing.
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::ControlModifier, QPoint(40, 3 * line() + 2));
    QCOMPARE(sorted(timeline->model()->selection()), selected);
}

void TestTimeline::squareClicksSelectTableRows()
{
    load({Event(100, QStringLiteral("rds.1.ps A")), Event(500, QStringLiteral("rds.2.ps B")),
          Event(900, QStringLiteral("rds.3.ps C"))});
    QTest::mouseClick(timeline, Qt::LeftButton, {}, squareOf(0));
    QCOMPARE(tableRows(), QList<int>{0});
    QCOMPARE(timeline->info(), QStringLiteral("rds.1.ps A"));
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::ControlModifier, squareOf(2));
    QCOMPARE(tableRows(), (QList<int>{0, 2}));
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::ControlModifier, squareOf(0));
    QCOMPARE(tableRows(), QList<int>{2});
    QCOMPARE(sorted(timeline->model()->selection()), QList<int>{2});
    // A press on a square shows its time but leaves the cursor.
    QCOMPARE(timeline->cursor(), 0u);
    // A plain click elsewhere on the axis clears.
    QTest::mouseClick(timeline, Qt::LeftButton, {}, QPoint(timeline->xOf(700), 2 * line() + 2));
    QVERIFY(tableRows().isEmpty());
}

void TestTimeline::tableClicksMarkSquares()
{
    load({Event(100, QStringLiteral("rds.1.ps A")), Event(500, QStringLiteral("rds.2.ps B")),
          Event(900, QStringLiteral("rds.3.ps C"))});
    QTableView* view = list();
    const Event second = timeline->model()->event(1);
    const QPoint corner(second.x - 1, second.line * line() + 4);
    QVERIFY(paint().pixelColor(corner) != QColor(Qt::yellow));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(timeline->model()->index(1, 0)).center());
    QCOMPARE(sorted(timeline->model()->selection()), QList<int>{1});
    QCOMPARE(paint().pixelColor(corner), QColor(Qt::yellow));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      view->visualRect(timeline->model()->index(2, 1)).center());
    QCOMPARE(sorted(timeline->model()->selection()), (QList<int>{1, 2}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(timeline->model()->index(0, 1)).center());
    QCOMPARE(sorted(timeline->model()->selection()), QList<int>{0});
    QVERIFY(paint().pixelColor(corner) != QColor(Qt::yellow));
}

void TestTimeline::addOnAnEmptyTableOpensTheCommand()
{
    editor->onAdd();
    DynModel* model = timeline->model();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->event(0).time, 0u);
    QVERIFY(model->event(0).command.isEmpty());
    QCOMPARE(list()->currentIndex(), model->index(0, 1));
    QCOMPARE(store->rawValue(QStringLiteral("events.1/0")).toString(), QStringLiteral("0"));
    auto* line = list()->findChild<QLineEdit*>();
    QVERIFY(line && line->isVisible());

    // A copy of the current row lands after the last of its time.
    QTest::keyClicks(line, QStringLiteral("rds.1.ps X"));
    QTest::keyClick(line, Qt::Key_Return);
    // The delegate commits on its next turn of the event loop.
    QTRY_COMPARE_WITH_TIMEOUT(model->event(0).command, QStringLiteral("rds.1.ps X"), 30000);
    QCOMPARE(store->rawValue(QStringLiteral("events.1/0")).toString(),
             QStringLiteral("0 rds.1.ps X"));
    editor->onAdd();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->event(1).command, QStringLiteral("rds.1.ps X"));
    QCOMPARE(list()->currentIndex(), model->index(1, 1));
    QCOMPARE(sorted(model->selection()), QList<int>{1});
}

void TestTimeline::clearAsksFirst_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<quint32>>("left");
    const QString some = QStringLiteral("Selektierte Events löschen?");
    const QString all = QStringLiteral("Alle Events löschen?");
    QTest::newRow("selection, yes")
        << QList<int>{1, 2} << int(QMessageBox::Yes) << some << QList<quint32>{100, 400};
    QTest::newRow("selection, abort") << QList<int>{1, 2} << int(QMessageBox::Abort) << some
                                      << QList<quint32>{100, 200, 300, 400};
    QTest::newRow("all, yes") << QList<int>{} << int(QMessageBox::Yes) << all << QList<quint32>{};
    QTest::newRow("all, abort") << QList<int>{} << int(QMessageBox::Abort) << all
                                << QList<quint32>{100, 200, 300, 400};
}

void TestTimeline::clearAsksFirst()
{
    QFETCH(QList<int>, selected);
    QFETCH(int, answer);
    QFETCH(QList<quint32>, left);
    load({Event(100, QStringLiteral("rds.1.ps A")), Event(200, QStringLiteral("rds.1.ps B")),
          Event(300, QStringLiteral("rds.1.ps C")), Event(400, QStringLiteral("rds.1.ps D"))});
    for (int row : selected)
        timeline->model()->select(row);
    ModalQuestions::setNextAnswer(QMessageBox::StandardButton(answer));
    timeline->onClear();
    QCOMPARE(ModalQuestions::asked().size(), 1);
    QTEST(ModalQuestions::asked().first(), "title");
    QList<quint32> times;
    for (const Event& event : timeline->model()->roll())
        times.append(event.time);
    QCOMPARE(times, left);
    QSet<int> expanded;
    bool repeat = false;
    QCOMPARE(store->events(QStringLiteral("events.1"), expanded, repeat).size(), left.size());
    QCOMPARE(tableRows().size(), answer == QMessageBox::Yes ? 0 : selected.size());
}

void TestTimeline::keysStepAndRunOneEventOnce()
{
    load({Event(100, QStringLiteral("rds.1.ps A")), Event(200, QStringLiteral("rds.1.ps B")),
          Event(300, QStringLiteral("rds.1.ps C"))});
    KeyRecorder keys;
    store->subscribe(QStringLiteral("*"), &keys);
    auto deliver = [&keys] {
        keys.collect();
        const QStringList values = [&keys] {
            QStringList out;
            for (const QVariant& value : keys.values())
                out.append(value.toString());
            return out;
        }();
        keys.clear();
        return values;
    };
    timeline->onTime(150);
    timeline->setFocus();
    QSignalSpy times(timeline, &Dynamic::msTime);
    QTest::keyClick(timeline, Qt::Key_Right);
    QCOMPARE(timeline->cursor(), 200u);
    QCOMPARE(times.last().at(0).toInt(), 200);
    QCOMPARE(timeline->info(), QStringLiteral("rds.1.ps B"));
    QCOMPARE(deliver(), QStringList());
    QTest::keyClick(timeline, Qt::Key_Space);
    QTest::keyClick(timeline, Qt::Key_Space);
    QCOMPARE(deliver(), QStringList{QStringLiteral("B")});
    QTest::keyClick(timeline, Qt::Key_Left);
    QTest::keyClick(timeline, Qt::Key_Left);
    QCOMPARE(timeline->cursor(), 100u);
    QTest::keyClick(timeline, Qt::Key_Space);
    QCOMPARE(deliver(), QStringList{QStringLiteral("A")});
    QTest::keyClick(timeline, Qt::Key_Right);
    QTest::keyClick(timeline, Qt::Key_Right);
    QTest::keyClick(timeline, Qt::Key_Right);
    QCOMPARE(timeline->cursor(), 300u);
    QTest::keyClick(timeline, Qt::Key_Space);
    QCOMPARE(deliver(), QStringList{QStringLiteral("C")});
    // A cursor moved by hand starts navigation afresh from there.
    timeline->onTime(250);
    QTest::keyClick(timeline, Qt::Key_Left);
    QCOMPARE(timeline->cursor(), 200u);
    store->unsubscribeAll(&keys);
}

void TestTimeline::dragMovesTheCursorOnlyWhileStanding()
{
    const QPoint at(timeline->xOf(500), 2 * line());
    QMouseEvent drag(QEvent::MouseMove, at, timeline->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(timeline, &drag);
    QVERIFY(qAbs(int(timeline->cursor()) - 500) <= 2);
    QMouseEvent hover(QEvent::MouseMove, QPoint(timeline->xOf(900), 20), QPointF(), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(timeline, &hover);
    QVERIFY(qAbs(int(timeline->cursor()) - 500) <= 2);
    timeline->onTime(100);
    timeline->onPlay();
    QApplication::sendEvent(timeline, &drag);
    QCOMPARE(timeline->cursor(), 100u);
    timeline->onPause();
}

void TestTimeline::wheelChangesNothing()
{
    load({Event(100, QStringLiteral("rds.1.ps A"))});
    timeline->model()->select(0);
    timeline->onTime(40);
    QWheelEvent wheel(QPointF(50, 20), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(timeline, &wheel);
    QCOMPARE(timeline->cursor(), 40u);
    QCOMPARE(sorted(timeline->model()->selection()), QList<int>{0});
    QVERIFY(timeline->expandedRows().isEmpty());
}

void TestTimeline::menuOnlyWithSelection()
{
    load({Event(100, QStringLiteral("rds.1.ps A")), Event(200, QStringLiteral("rds.1.ps B"))});
    auto* menu = timeline->findChild<QMenu*>(QStringLiteral("timelineMenu"));
    QVERIFY(menu);
    QContextMenuEvent right(QContextMenuEvent::Mouse, squareOf(0),
                            timeline->mapToGlobal(squareOf(0)));
    QApplication::sendEvent(timeline, &right);
    QVERIFY(!menu->isVisible());
    QTest::mouseClick(timeline, Qt::LeftButton, {}, squareOf(1));
    QApplication::sendEvent(timeline, &right);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 1);
    menu->actions().first()->trigger();
    menu->close();
    QCOMPARE(timeline->model()->rowCount(), 1);
    QCOMPARE(timeline->model()->event(0).command, QStringLiteral("rds.1.ps A"));
}

void TestTimeline::toolTips_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("tip");
    QTest::newRow("axis") << "axis"
                          << "Timeline (ms)";
    QTest::newRow("square") << "square"
                            << "rds.1.ps HELLO";
    QTest::newRow("leaf row spells the key") << "leaf"
                                             << "rds.1.ps";
    QTest::newRow("type row") << "type"
                              << "rds";
    QTest::newRow("below the rows")
        << "empty"
        << "hover any event or line for info\nclick + or - on left side to expand\n"
           "click an event to select\nctrl + click to select multiple events\n"
           "key left/right navigates to next event";
}

void TestTimeline::toolTips()
{
    QFETCH(QString, where);
    load({Event(100, QStringLiteral("rds.1.ps HELLO"))}, {0x400, 0x401});
    const QMap<QString, QPoint> points{
        {QStringLiteral("axis"), QPoint(80, 2)},
        {QStringLiteral("square"), squareOf(0)},
        {QStringLiteral("leaf"), QPoint(timeline->xOf(700), 4 * line() + 2)},
        {QStringLiteral("type"), QPoint(80, 2 * line() + 2)},
        {QStringLiteral("empty"), QPoint(80, 7 * line() + 2)}};
    const QPoint at = points.value(where);
    QHelpEvent help(QEvent::ToolTip, at, timeline->mapToGlobal(at));
    QApplication::sendEvent(timeline, &help);
    QFETCH(QString, tip);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("<p style='white-space:pre'>") + tip);
    QToolTip::hideText();
}

void TestTimeline::listSwitchFollowsTheSplitter()
{
    QSignalSpy shown(timeline, &Dynamic::showList);
    const int total = splitter->sizes().at(0) + splitter->sizes().at(1);
    splitter->setSizes({total, 0});
    timeline->onSplit();
    QCOMPARE(shown.last().at(0).toBool(), false);
    timeline->onList(true);
    QCOMPARE(splitter->sizes().at(1), 240);
    timeline->onSplit();
    QCOMPARE(shown.last().at(0).toBool(), true);
    // The width the user gave the list comes back after hiding it.
    splitter->setSizes({total - 300, 300});
    timeline->onList(false);
    QCOMPARE(splitter->sizes().at(1), 0);
    timeline->onList(true);
    QCOMPARE(splitter->sizes().at(1), 300);
}

// A roll of thousands of events is drawn once; each tick of the player
// repaints the columns the cursor leaves and enters, and what the window
// shows afterwards is what a whole paint draws.
void TestTimeline::tickRepaintsOnlyTheCursorStrip()
{
    QList<Event> roll;
    for (int n = 0; n < 3000; ++n)
        roll.append(Event(quint32(n * 7),
                          QStringLiteral("channel.%1.gain %2").arg(n % 4 + 1).arg(-(n % 20))));
    roll.append(Event(30000, QStringLiteral("channel.1.gain 0")));
    load(roll, {});
    qint64 now = 1000;
    timeline->setClock([&now] { return now; });
    timeline->onPlay();
    QCoreApplication::processEvents();

    struct PaintAreas : QObject
    {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } areas;
    timeline->installEventFilter(&areas);
    const QRect before(timeline->cursorX(), 0, 1, timeline->height());
    now += 1500;
    timeline->timeout();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents();
    timeline->removeEventFilter(&areas);
    const QRect after(timeline->cursorX(), 0, 1, timeline->height());
    QVERIFY(before != after);
    QVERIFY(areas.painted.contains(before) && areas.painted.contains(after));
    // Below the header lines (axis and the text of the event run, whose
    // descenders reach the third line) only the cursor's columns.
    const QRegion rows = areas.painted - QRect(0, 0, timeline->width(), 3 * line());
    QVERIFY2(rows.boundingRect().width() < timeline->width() / 4,
             qPrintable(QStringLiteral("%1 of %2 columns repainted")
                            .arg(rows.boundingRect().width())
                            .arg(timeline->width())));

    QImage shown = splitter->screen()->grabWindow(splitter->winId()).toImage();
    const QPoint origin = timeline->mapTo(splitter.get(), QPoint(0, 0));
    shown = shown.copy(QRect(origin, timeline->size())).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, paint().convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestTimeline)
#include "tst_timeline.moc"
