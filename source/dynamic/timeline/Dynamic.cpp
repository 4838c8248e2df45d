// The recorder and player of the timeline.
#include "dynamic/timeline/Dynamic.h"

#include "dynamic/timeline/DynModel.h"

#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace {

// Status and run-time values the boards and programmes publish all the time,
// and the AF lists the store derives itself: replaying them makes no sense.
bool isRecordable(const QString& key)
{
    static const QStringList kRunTimePrefixes{QStringLiteral("board"), QStringLiteral("chinfo"),
                                              QStringLiteral("chstatus"), QStringLiteral("rdsin"),
                                              QStringLiteral("modul")};
    for (const QString& prefix : kRunTimePrefixes) {
        if (key.startsWith(prefix))
            return false;
    }
    return key != QLatin1String("songinfo") && !key.endsWith(QLatin1String(".af"));
}

} // namespace

Dynamic::Dynamic(QWidget* parent)
    : QWidget(parent), events(new DynModel(this)), timer(new QTimer(this)), menu(new QMenu(this)),
      clock([] { return QDeadlineTimer::current().deadline(); }), infoText(idleInfo())
{
    setObjectName(QStringLiteral("timeline"));
    setFocusPolicy(Qt::WheelFocus);
    setMinimumSize(240, h * lines + 1);
    start = now();
    connect(events, &DynModel::saveRoll, this, &Dynamic::onSave);
    connect(events, &DynModel::setExec, this, &Dynamic::execChanged);
    menu->setObjectName(QStringLiteral("timelineMenu"));
    connect(menu->addAction(QIcon(QStringLiteral(":/icons/delete.png")), tr("Events löschen")),
            &QAction::triggered, this, &Dynamic::onDelete);
    // Events run on their tick: a coarse timer may stretch each 20 ms by a
    // millisecond, and a roll then falls behind its clock's ticks.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kTickMs);
    connect(timer, &QTimer::timeout, this, &Dynamic::timeout);
    installEventFilter(new SetHandler(this));
}

QString Dynamic::idleInfo()
{
    return QStringLiteral("click + on left to expand rows, click event to select");
}

Dynamic::~Dynamic()
{
    qDebug("~dynamic");
    if (store)
        store->unsubscribeAll(this);
    store.reset();
}

void Dynamic::setSettings(QSharedPointer<FMSettings> settings)
{
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    if (!store)
        return;
    loadRoll();
    store->subscribe(QStringLiteral("*"), this);
    store->takeLatestStateValues(this);
}

void Dynamic::setClock(Clock source)
{
    clock = std::move(source);
}

bool Dynamic::playing() const
{
    return timer->isActive();
}

void Dynamic::notify(SetValue* event)
{
    if (autoplay) {
        autoplay = false;
        // The streamed run-time values are never recorded; only the first
        // notification of any kind mattered.
        if (store)
            store->skipRunTimeValues(this);
        if (events->rowCount() > 0)
            onPlay();
    }
    // Most notifications are run-time values while nothing records: no text
    // work for them.
    if (!record)
        return;
    const QString key = event->key.toLower().replace(QLatin1Char('/'), QLatin1Char('.'));
    if (!isRecordable(key))
        return;
    const quint32 time = playing() ? quint32(now() - start) : position;
    Event recorded(time, key + QLatin1Char(' ') + event->value.toString());
    recorded.line = quint16(lines);
    recorded.classify();
    qDebug("dyn: rec %6u %s", time, qPrintable(recorded.command));
    length = std::max(length, int(std::min<quint32>(time, INT_MAX)));
    events->insertEvent(recorded);
    update();
}

void Dynamic::execute(Event event)
{
    const qsizetype blank = event.command.indexOf(QLatin1Char(' '));
    infoText = event.command;
    qDebug("dyn: exec %5u %s", event.time, qPrintable(event.command));
    // A command edited down to one word has no value to set: running it
    // would write its own text into the key it names.
    if (!store || blank < 0)
        return;
    store->set(event.command.left(blank), event.command.mid(blank + 1), true, this);
}

void Dynamic::timeout()
{
    const quint32 before = position;
    const QString infoBefore = infoText;
    position = quint32(now() - start);
    if (!record)
        position = std::min(position, quint32(length));
    while (next >= 0 && next < events->rowCount() && events->event(next).time <= position)
        execute(events->event(next++));
    if (position >= quint32(length) && !record) {
        if (repeat) {
            start = now();
            next = 0;
            position = 0;
        } else {
            timer->stop();
            emit setPause(true);
        }
    }
    emit msTime(int(std::min<quint32>(position, INT_MAX)));
    // A tick moves the cursor; the rest of the roll stays as drawn.
    QWidget::update(cursorStrip(before));
    QWidget::update(cursorStrip(position));
    // The text of the event run sits on the second line; its descenders
    // reach into the third.
    if (infoText != infoBefore)
        QWidget::update(QRect(0, 0, width(), 3 * h));
}

void Dynamic::startPlaying()
{
    next = events->firstAtOrAfter(position);
    start = now() - position;
    timer->start(kTickMs);
}

void Dynamic::endRecording()
{
    if (!record)
        return;
    record = false;
    storeRoll();
}

void Dynamic::onPlay()
{
    qDebug("dyn: play %5u", position);
    endRecording();
    if (position < quint32(length) || repeat) {
        emit setPlay(true);
        startPlaying();
    } else {
        emit setPause(true);
    }
}

void Dynamic::onPause()
{
    qDebug("dyn: pause %4u", position);
    endRecording();
    timer->stop();
    update();
}

void Dynamic::onRecNow()
{
    qDebug("dyn: stay %5u", position);
    record = true;
    timer->stop();
    next = events->firstAtOrAfter(position);
    start = now() - position;
    update();
}

void Dynamic::onRecord()
{
    qDebug("dyn: reco %5u", position);
    record = true;
    startPlaying();
}

void Dynamic::onRepeat(bool on)
{
    repeat = on;
    if (store)
        store->eventOption(rollKey, expanded, repeat);
}

void Dynamic::onClear()
{
    const int count = int(events->selection().size());
    if (count > 0) {
        const auto answer =
            ModalQuestions::ask(this, QMessageBox::Warning, tr("Selektierte Events löschen?"),
                                tr("Sollen die %1 ausgewählten Events gelöscht werden?").arg(count),
                                QMessageBox::Yes | QMessageBox::Abort);
        if (answer == QMessageBox::Yes)
            events->removeSelected();
        return;
    }
    const auto answer = ModalQuestions::ask(this, QMessageBox::Warning, tr("Alle Events löschen?"),
                                            tr("Sollen alle Events gelöscht werden? "),
                                            QMessageBox::Yes | QMessageBox::Abort);
    if (answer != QMessageBox::Yes)
        return;
    events->removeAll();
    storeRoll();
}

void Dynamic::onDelete()
{
    events->removeSelected();
}

void Dynamic::onSave()
{
    storeRoll();
}

void Dynamic::onTime(int ms)
{
    if (announcing)
        return;
    const quint32 time = quint32(std::max(0, ms));
    navIndex = -1;
    // The time box echoes every tick: the cursor is already drawn there.
    if (time == position)
        return;
    position = time;
    update();
}

void Dynamic::execChanged(int row, Event& event)
{
    qDebug("dyn: exec change %d %u %s", row, event.time, qPrintable(event.command));
    if (store)
        store->setEvent(quint32(row), rollKey, event);
    buildRows();
    update();
}

void Dynamic::loadRoll()
{
    expanded.clear();
    autoplay = true;
    // Until the first notification, whatever it is, starts the player.
    if (store)
        store->takeLatestStateValues(this);
    record = false;
    repeat = false;
    if (store)
        events->setRoll(store->events(rollKey, expanded, repeat));
    timer->stop();
    next = -1;
    emit setPause(true);
    emit setRepeat(repeat);
    position = 0;
    length = events->rollLength();
    buildRows();
    update();
}

void Dynamic::storeRoll()
{
    if (!store)
        return;
    qDebug("dyn: save roll");
    store->setRoll(rollKey, events->roll(), expanded, repeat);
    length = events->rollLength();
    buildRows();
    update();
}

void Dynamic::update()
{
    rollImageStale = true;
    QWidget::update();
}
