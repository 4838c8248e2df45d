#include "connect/FMConnect.h"

#include "ui_ConnectUI.h"

#include "board/FMDiscover.h"
#include "connect/FMConnectModel.h"

#include <QDebug>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <functional>

namespace {

// The tip covers the header, whose height it reaches up from here.
constexpr int kTipX = 3;
constexpr int kTipY = 5;
// The dialog sits this far above the centre of its parent.
constexpr int kRaise = 3;

int indexOf(const QList<BoardIP>& list, const std::function<bool(const BoardIP&)>& match)
{
    const auto found = std::find_if(list.cbegin(), list.cend(), match);
    return found == list.cend() ? -1 : int(found - list.cbegin());
}

// Positions 1 and 2 are grey, so the four lists read as a checkerboard.
void shade(QWidget* frame)
{
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    palette.setColor(QPalette::Base, Qt::white);
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);
}

} // namespace

FMConnect::FMConnect(int count, const QList<BoardIP>& stored, QWidget* parent, FMDiscover* discover)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::ConnectUI>()), discoverer(discover ? discover : new FMDiscover(this)),
      boards(stored)
{
    discoverer->setParent(this);
    ui->setupUi(this);
    setObjectName(QStringLiteral("FMConnect"));
    ui->Bset->setEnabled(true);
    shade(ui->f2);
    shade(ui->f3);
    for (int p = 0; p < kPositions; ++p) {
        models[p] = new FMConnectModel(this, &boards, &answered, p);
        models[p]->setSelectedRow(p);
        view(p)->setModel(models[p]);
        fitColumns(view(p));
    }
    connect(discoverer, &FMDiscover::found, this, &FMConnect::found);
    connect(ui->Badd, &QToolButton::clicked, this, &FMConnect::addBox);
    connect(ui->Bset, &QPushButton::clicked, this, &FMConnect::accept);
    connect(ui->Bcancel, &QPushButton::clicked, this, &FMConnect::reject);
    ui->mods->setValue(count);
    numbers(count);
    connect(ui->mods, &QSpinBox::valueChanged, this, &FMConnect::numbers);
    connect(ui->m1, &QTableView::activated, this, &FMConnect::select1);
    connect(ui->m2, &QTableView::activated, this, &FMConnect::select2);
    connect(ui->m3, &QTableView::activated, this, &FMConnect::select3);
    connect(ui->m4, &QTableView::activated, this, &FMConnect::select4);
    for (FMConnectModel* model : models)
        connect(model, &FMConnectModel::rowChanged, this, &FMConnect::rowChanged);
    discoverer->discover();
}

FMConnect::~FMConnect()
{
    qDebug("~Connect");
}

QTableView* FMConnect::view(int position) const
{
    QTableView* const views[] = {ui->m1, ui->m2, ui->m3, ui->m4};
    return views[position];
}

void FMConnect::numbers(int count)
{
    qDebug("Con: %d modulators", count);
    if (count < 1 || count > kPositions)
        return;
    ui->f2->setVisible(count >= 2);
    ui->f3->setVisible(count >= 3);
    ui->f4->setVisible(count == 4);
}

void FMConnect::found(const BoardIP& board)
{
    const bool changed = merge(board);
    const int box = board.boxNumber();
    const bool known = box != 0 && indexOf(answered, [box](const BoardIP& other) {
                                       return other.boxNumber() == box;
                                   }) >= 0;
    if (known && !changed)
        return;
    if (!known && !answered.contains(board))
        answered.append(board);
    refreshAll();
}

// Follows a board by its box number when it moved to another address, gives
// a board entered by hand its MAC when it answers from that address, and
// appends every other board. Returns whether the board list changed.
bool FMConnect::merge(const BoardIP& board)
{
    const int box = board.boxNumber();
    if (box != 0) {
        const int same = indexOf(boards, [box](const BoardIP& b) { return b.boxNumber() == box; });
        if (same >= 0) {
            if (boards[same].ipv4 == board.ipv4)
                return false;
            qDebug() << "Con: newip" << boards[same] << "=>" << board << same;
            boards[same] = board;
            return true;
        }
    }
    const int address =
        indexOf(boards, [&board](const BoardIP& b) { return b.ipv4 == board.ipv4; });
    if (address >= 0 && boards[address].boxNumber() == 0) {
        qDebug() << "Con: boxnr" << board << address;
        boards[address] = board;
    } else {
        boards.append(board);
    }
    return true;
}

void FMConnect::refreshAll()
{
    for (int p = 0; p < kPositions; ++p) {
        models[p]->refreshRow(-1);
        fitColumns(view(p));
    }
}

// The address is what tells boards apart: every column shows its whole
// text, and the list is wide enough for all of them.
void FMConnect::fitColumns(QTableView* table)
{
    table->resizeColumnsToContents();
    const int columns = table->horizontalHeader()->length();
    const int rows = table->verticalHeader()->isVisible() ? table->verticalHeader()->width() : 0;
    const int scrollBar = table->verticalScrollBar()->sizeHint().width();
    table->setMinimumWidth(columns + rows + scrollBar + 2 * table->frameWidth());
}

void FMConnect::addBox()
{
    BoardIP board;
    board.port = 1234;
    boards.append(board);
    ui->Badd->setEnabled(boards.size() < kMostBoards);
    refreshAll();
}

void FMConnect::selectN(const QModelIndex& index, int position)
{
    current = position;
    if (position < 0 || position >= kPositions || index.column() != 0)
        return;
    const int row = index.row();
    for (int p = 0; p < position; ++p) {
        if (models[p]->selectedRow() == row) {
            QTimer::singleShot(kRefusedTipMs, this, &FMConnect::notPossible);
            return;
        }
    }
    models[position]->setSelectedRow(row);
    for (int p = position + 1; p < kPositions; ++p) {
        if (models[p]->selectedRow() == row)
            models[p]->setSelectedRow(-1);
    }
    QTimer::singleShot(kSelectTipMs, this, &FMConnect::showTip);
}

void FMConnect::select1(const QModelIndex& index)
{
    selectN(index, 0);
}

void FMConnect::select2(const QModelIndex& index)
{
    selectN(index, 1);
}

void FMConnect::select3(const QModelIndex& index)
{
    selectN(index, 2);
}

void FMConnect::select4(const QModelIndex& index)
{
    selectN(index, 3);
}

void FMConnect::rowChanged(int row)
{
    if (row < 0) {
        refreshAll();
        return;
    }
    for (FMConnectModel* model : models)
        model->refreshRow(row);
}

void FMConnect::notPossible()
{
    showTipAtCurrent(tr("Ist schon ausgewählt!"));
}

void FMConnect::showTip()
{
    FMConnectModel* model = models[current];
    const int row = model->selectedRow();
    QString text;
    if (row >= 0 && row < boards.size())
        text = model->data(model->index(row, 0), FMConnectModel::kSelectionTipRole).toString();
    showTipAtCurrent(text);
}

void FMConnect::showTipAtCurrent(const QString& text)
{
    QTableView* table = view(current);
    const int header = table->horizontalHeader()->height();
    const int y = header <= kTipY ? 0 : kTipY - header;
    QToolTip::showText(table->mapToGlobal(QPoint(kTipX, y)), text, table);
}

void FMConnect::accept()
{
    QList<BoardIP> chosen;
    for (FMConnectModel* model : models) {
        const int row = model->selectedRow();
        if (row >= 0 && row < boards.size())
            chosen.append(boards[row]);
    }
    emit connectTo(ui->mods->value(), chosen);
    QDialog::accept();
}

void FMConnect::online(const BoardIP& board, int number)
{
    qDebug() << "Con: online" << number << board;
}

void FMConnect::showEvent(QShowEvent* event)
{
    if (QWidget* parent = parentWidget()) {
        adjustSize();
        const QSize free = parent->frameGeometry().size() - frameGeometry().size();
        const QPoint offset(qRound(free.width() / 2.0), qRound(free.height() / 2.0) - kRaise);
        move(parent->mapToGlobal(QPoint(0, 0)) + offset);
    }
    QDialog::showEvent(event);
}
