// How the timeline draws its roll and answers mouse and keys.
#include "dynamic/timeline/Dynamic.h"

#include "dynamic/timeline/DynModel.h"

#include "settings/FMSettings.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDebug>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSplitter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {

const char* const kNoRowInfo = "click any line or square for info";
const char* const kHelp = "hover any event or line for info\n"
                          "click + or - on left side to expand\n"
                          "click an event to select\n"
                          "ctrl + click to select multiple events\n"
                          "key left/right navigates to next event";

constexpr int kHeaderLines = 2;
constexpr int kMinFontSize = 5;
constexpr int kFallbackSize = 4;
constexpr int kMinListWidth = 11;
constexpr int kCollapsedTimeline = 66;
constexpr int kLabelGap = 6; // between the longest row label and time 0
// The event list's width before it was hidden, shared by every timeline.
int rememberedListWidth = 240;

const QColor kStripeOdd(0x10, 0x10, 0x10);
const QColor kAxisPlaying(0x34, 0x76, 0xDD);
const QColor kAxisRecording(0xC9, 0x11, 0x11);
const QColor kSquareFill(31, 31, 31);
const QColor kNavigated(0xE0, 0xE0, 0x00, 0x70);

QColor typeColour(int type)
{
    switch (type) {
    case Event::Channel:
        return QColor(0x00, 0xCC, 0x00);
    case Event::Audio:
        return QColor(0x40, 0x80, 0xFF);
    case Event::Playlist:
        return QColor(0x40, 0xB0, 0xFF);
    case Event::Rds:
        return QColor(0xCC, 0x00, 0xDD);
    case Event::Tmc:
        return QColor(0xCC, 0x00, 0x00);
    default:
        return QColor(Qt::lightGray);
    }
}

int rowId(const Event& event)
{
    return (event.type << 8) | (event.number & 0xFF);
}

QString rowName(int id)
{
    static const QStringList kNames{QStringLiteral("?"),     QStringLiteral("channel"),
                                    QStringLiteral("audio"), QStringLiteral("playlist"),
                                    QStringLiteral("rds"),   QStringLiteral("tmc")};
    const int type = id >> 8;
    const int number = id & 0xFF;
    QString name = type < kNames.size() ? kNames.at(type) : kNames.first();
    if (number != 0)
        name += QLatin1Char('.') + QString::number(number);
    return name;
}

// "4.01 ps" for rds.1.ps: type, instance and the key's leaf name.
QString sortLabel(const Event& event)
{
    return QStringLiteral("%1.%2 ").arg(event.type).arg(event.number, 2, 10, QLatin1Char('0')) +
           event.rest.section(QLatin1Char(' '), 0, 0).toLower();
}

QString numberMark(int number)
{
    if (number == 0)
        return QStringLiteral("*");
    if (number >= 100)
        return QStringLiteral("++");
    return QString::number(number);
}

} // namespace

int Dynamic::axisWidth() const
{
    return width() - areaLeft() - w - 5;
}

// Time 0 lies right of the row labels: an event there would hide its own
// row's label, and the label the event.
int Dynamic::areaLeft() const
{
    return w + 5 + labelColumn;
}

void Dynamic::measureLabels(const QFontMetrics& metrics)
{
    int widest = 0;
    for (const Row& row : std::as_const(rows))
        widest = std::max(widest, metrics.horizontalAdvance(row.label));
    labelColumn = widest > 0 ? widest + kLabelGap : 0;
}

int Dynamic::xOf(quint32 time) const
{
    return areaLeft() + int(qint64(axisWidth()) * time / std::max(length, 1));
}

QString Dynamic::rowInfo(int line) const
{
    if (!rows.contains(line))
        return QString::fromLatin1(kNoRowInfo);
    return rowName(rows.value(line).id);
}

void Dynamic::addRow(int& line, int id, bool leaf, const QString& label)
{
    ++line;
    Row row;
    row.id = id;
    row.label = leaf ? label : rowName(id);
    row.state = leaf ? Leaf : (expanded.contains(id) ? Open : Closed);
    rows.insert(line, row);
}

void Dynamic::buildRows()
{
    // Sorting by "type.number key" puts each key under its instance and each
    // instance under its type, in a stable order.
    QMap<QString, int> labels;
    const QList<Event>& roll = events->roll();
    for (const Event& event : roll) {
        labels.insert(sortLabel(event), rowId(event));
        length = std::max(length, int(std::min<quint32>(event.time, INT_MAX)));
    }
    rows.clear();
    QSet<int> added;
    QMap<QString, int> lineOf;
    int line = kHeaderLines - 1;
    for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
        const int id = it.value();
        const int typeId = id & 0xFF00;
        if (!added.contains(typeId)) {
            added.insert(typeId);
            addRow(line, typeId, false, QString());
        }
        const bool typeOpen = expanded.contains(typeId);
        if (typeOpen && !added.contains(id)) {
            added.insert(id);
            addRow(line, id, false, QString());
        }
        if (typeOpen && expanded.contains(id))
            addRow(line, id, true, QLatin1Char('.') + it.key().section(QLatin1Char(' '), 1));
        lineOf.insert(it.key(), line);
        qDebug("dyn: %s %d %d to line %d", qPrintable(it.key()), id >> 8, id & 0xFF, line);
    }
    for (int row = 0; row < roll.size(); ++row) {
        events->setLine(row, lineOf.value(sortLabel(roll.at(row))));
    }
    lines = line + 1;
    setMinimumHeight(lines * h + 1);
}

int Dynamic::tickStep(int rollLength, int labels)
{
    const int base = rollLength < kFineAxisMs ? 200 : 1000;
    const int groups = std::max(labels / 3, 1);
    const int step = rollLength / groups / base * base;
    return step > 0 ? step : base;
}

QString Dynamic::squareMark(int number)
{
    return numberMark(number);
}

void Dynamic::paintEvent(QPaintEvent* paint)
{
    QPainter painter(this);
    const QFont font(QStringLiteral("Consolas"), 9);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    w = metrics.horizontalAdvance(QStringLiteral("88"));
    h = metrics.height();
    if (w < kMinFontSize)
        w = kFallbackSize;
    if (h < kMinFontSize)
        h = kFallbackSize;
    measureLabels(metrics);

    const qreal ratio = devicePixelRatioF();
    if (rollImageStale || rollImage.size() != size() * ratio)
        paintRoll(font);
    const QRect area = paint->rect();
    painter.drawPixmap(area, rollImage,
                       QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));

    const QColor axis = record ? kAxisRecording : kAxisPlaying;
    const int labels = width() / std::max(metrics.horizontalAdvance(QString::number(length)), 1);
    if (labels >= 3) {
        painter.setPen(Qt::white);
        painter.drawText(w + 7, h + h - 2, infoText);
    }
    painter.setPen(axis);
    const int cursorX = xOf(position);
    painter.drawLine(cursorX, 0, cursorX, height());
    if (pendingIndex >= 0 && pendingIndex < events->rowCount()) {
        const Event event = events->event(pendingIndex);
        painter.fillRect(
            QRect(QPoint(event.x, event.line * h), QPoint(event.x + w + 3, event.line * h + h - 2)),
            kNavigated);
    }
}

void Dynamic::paintRoll(const QFont& font)
{
    const qreal ratio = devicePixelRatioF();
    rollImage = QPixmap(size() * ratio);
    rollImage.setDevicePixelRatio(ratio);
    QPainter painter(&rollImage);
    painter.setFont(font);
    paintStripes(painter);
    const QColor axis = record ? kAxisRecording : kAxisPlaying;
    const int labels =
        width() / std::max(painter.fontMetrics().horizontalAdvance(QString::number(length)), 1);
    if (labels >= 3)
        paintAxis(painter, axis, labels);
    paintRows(painter);
    paintEvents(painter);
    rollImageStale = false;
}

void Dynamic::paintStripes(QPainter& painter)
{
    const int left = w + 5;
    const int right = width() - w - 6;
    for (int line = 0; line < lines; ++line)
        painter.fillRect(QRect(QPoint(left, line * h), QPoint(right, line * h + h - 1)),
                         line % 2 ? kStripeOdd : QColor(Qt::black));
    painter.fillRect(QRect(0, lines * h, width(), std::max(height() - lines * h, 0)), Qt::black);
}

void Dynamic::paintAxis(QPainter& painter, const QColor& pen, int labels)
{
    painter.setPen(pen);
    const int end = xOf(quint32(length));
    const QString lengthText = QString::number(length);
    const int textWidth = painter.fontMetrics().horizontalAdvance(lengthText);
    painter.drawText(end - textWidth - 2, h - 2, lengthText);
    painter.drawLine(end, 0, end, h - 1);
    const qint64 step = tickStep(length, labels);
    // Counted in 64 bits: on a roll that ends near the largest time the last
    // step would wrap round. More ticks than pixels show nothing more.
    const qsizetype maxTicks = std::max(axisWidth(), 1);
    QList<qint64> ticks;
    for (qint64 time = 0; time < length && ticks.size() < maxTicks; time += step)
        ticks.append(time);
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        const int x = xOf(quint32(ticks.at(i)));
        painter.drawLine(x, 0, x, h - 1);
        if (i + 1 < ticks.size())
            painter.drawText(x + 2, h - 2, QString::number(ticks.at(i)));
    }
}

void Dynamic::paintMark(QPainter& painter, const QRect& box, const QColor& colour,
                        const QString& mark)
{
    painter.setPen(colour);
    painter.setBrush(kSquareFill);
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, mark);
}

void Dynamic::paintRows(QPainter& painter)
{
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        const int line = it.key();
        const Row& row = it.value();
        painter.setPen(Qt::darkGray);
        painter.drawText(w + 7, line * h + h - 2, row.label);
        QString mark;
        if ((row.id >> 8) == Event::Other)
            mark = QStringLiteral("?");
        else if (row.state == Closed)
            mark = QStringLiteral("+");
        else if (row.state == Open)
            mark = QStringLiteral("-");
        else
            mark = (row.id & 0xFF) ? QString::number(row.id & 0xFF) : QStringLiteral("*");
        paintMark(painter, QRect(QPoint(0, line * h), QPoint(w + 3, line * h + h - 2)),
                  typeColour(row.id >> 8), mark);
    }
}

QRect Dynamic::cursorStrip(quint32 time) const
{
    return QRect(xOf(time) - 1, 0, 3, height());
}

void Dynamic::paintEvents(QPainter& painter)
{
    const QList<Event>& roll = events->roll();
    for (int row = 0; row < roll.size(); ++row) {
        const Event event = roll.at(row);
        const int x = xOf(event.time);
        const QRect square(QPoint(x, event.line * h), QPoint(x + w + 3, event.line * h + h - 2));
        painter.setPen(typeColour(event.type));
        painter.setBrush(kSquareFill);
        painter.drawRect(square);
        const int indent = event.number >= 0 && event.number < 10 ? 4 : 0;
        painter.drawText(x + 1 + indent, event.line * h + h - 3, numberMark(event.number));
        events->setPos(row, x, h / 2 + event.line * h);
    }
    QPen outline(Qt::yellow, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    for (int row : events->selection()) {
        const Event event = events->event(row);
        if (row >= roll.size())
            continue;
        painter.drawRect(QRect(QPoint(event.x - 1, event.line * h - 1),
                               QPoint(event.x + w + 4, event.line * h + h - 1)));
    }
}

Dynamic::Hit Dynamic::hitTest(const QPoint& point, bool select)
{
    Hit hit;
    if (point.x() <= w + 4)
        return hit;
    const int line = point.y() / h;
    int best = w + 4;
    const QList<Event>& roll = events->roll();
    for (int row = 0; row < roll.size(); ++row) {
        const Event& event = roll.at(row);
        if (event.line != line)
            continue;
        const int distance = 2 * std::abs(point.x() - (event.x + w / 2 + 2));
        if (distance > best || (hit.row >= 0 && distance == best))
            continue;
        best = distance;
        hit.row = row;
    }
    if (hit.row < 0)
        return hit;
    const Event event = events->event(hit.row);
    hit.command = event.command;
    hit.time = event.time;
    if (select)
        events->toggle(hit.row);
    return hit;
}

void Dynamic::announceTime(quint32 time)
{
    announcing = true;
    emit msTime(int(std::min<quint32>(time, INT_MAX)));
    announcing = false;
}

void Dynamic::selectLine(int line)
{
    const QList<Event>& roll = events->roll();
    for (int row = 0; row < roll.size(); ++row) {
        if (roll.at(row).line == line)
            events->select(row);
    }
}

void Dynamic::press(const QPoint& point, bool add)
{
    if (!add)
        events->clearSelection();
    const Hit hit = hitTest(point, true);
    const int line = point.y() / h;
    if (hit.row >= 0) {
        infoText = hit.command;
        if (hit.time != 0)
            announceTime(hit.time);
    } else {
        const Row row = rows.value(line);
        infoText = row.label;
        const bool group = row.id != 0 && !row.label.startsWith(QLatin1Char('.'));
        if (!group) {
            infoText = rowInfo(line) + row.label;
            if (point.x() <= w + 4)
                selectLine(line);
        }
    }
    if (infoText.isEmpty())
        infoText = idleInfo();
    update();
}

void Dynamic::mousePressEvent(QMouseEvent* event)
{
    press(event->position().toPoint(), event->modifiers() & Qt::ControlModifier);
}

// Only the + and - marks open and close rows: a leaf's mark is its number,
// and a press there selects the key's events, which closing would undo.
void Dynamic::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const int line = point.y() / h;
    const Row row = rows.value(line);
    if (point.x() < w + 4 && row.id != 0 && row.state != Leaf) {
        qDebug("dyn: click line %d type %d num %d", line, row.id >> 8, row.id & 0xFF);
        if (!expanded.remove(row.id))
            expanded.insert(row.id);
        if (store)
            store->eventOption(rollKey, expanded, repeat);
        buildRows();
        press(point, event->modifiers() & Qt::ControlModifier);
    }
    update();
}

void Dynamic::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton || playing())
        return;
    const qint64 x = qint64(event->position().toPoint().x()) - areaLeft();
    const qint64 time = x * length / std::max(axisWidth(), 1);
    position = quint32(std::clamp<qint64>(time, 0, length));
    navIndex = -1;
    emit msTime(int(position));
    update();
}

void Dynamic::wheelEvent(QWheelEvent* event)
{
    qDebug("dyn: wheel %d", event->angleDelta().y());
    event->accept();
}

void Dynamic::navigate(int row)
{
    if (row < 0 || row >= events->rowCount())
        return;
    navIndex = row;
    pendingIndex = row;
    const Event event = events->event(row);
    infoText = event.command;
    position = event.time;
    announceTime(event.time);
    update();
}

void Dynamic::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        navigate(navIndex < 0 ? events->lastAtOrBefore(position) : navIndex - 1);
        break;
    case Qt::Key_Right:
        navigate(navIndex < 0 ? events->firstAtOrAfter(position) : navIndex + 1);
        break;
    case Qt::Key_Space:
        if (pendingIndex >= 0 && pendingIndex < events->rowCount())
            execute(events->event(pendingIndex));
        pendingIndex = -1;
        update();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void Dynamic::contextMenuEvent(QContextMenuEvent* event)
{
    if (events->selection().isEmpty())
        return;
    menu->popup(QCursor::pos());
    event->accept();
}

QString Dynamic::tipAt(const QPoint& point)
{
    const int line = point.y() / h;
    if (line == 0)
        return QStringLiteral("Timeline (ms)");
    const Hit hit = hitTest(point, false);
    if (hit.row >= 0)
        return hit.command;
    const Row row = rows.value(line);
    if (!row.label.isEmpty())
        return row.state == Leaf ? rowInfo(line) + row.label : row.label;
    return QString::fromLatin1(kHelp);
}

bool Dynamic::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = tipAt(help->pos()).trimmed();
        QToolTip::showText(help->globalPos(), QStringLiteral("<p style='white-space:pre'>") + text,
                           this);
    }
    return QWidget::event(event);
}

void Dynamic::setSplitter(QSplitter* splitter)
{
    split = splitter;
    connect(splitter, &QSplitter::splitterMoved, this, &Dynamic::onSplit);
}

void Dynamic::onList(bool on)
{
    if (!split || split->count() < 2)
        return;
    const QList<int> sizes = split->sizes();
    const int total = sizes.at(0) + sizes.at(1);
    if (on && sizes.at(1) < kMinListWidth)
        split->setSizes({total - rememberedListWidth, rememberedListWidth});
    if (!on && sizes.at(1) >= kMinListWidth) {
        rememberedListWidth = sizes.at(1);
        split->setSizes({kCollapsedTimeline, 0});
    }
}

void Dynamic::onSplit()
{
    if (!split || split->count() < 2)
        return;
    emit showList(split->sizes().at(1) >= kMinListWidth);
}
