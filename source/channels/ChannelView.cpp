#include "channels/ChannelView.h"

#include "board/FMBoard.h"
#include "connect/FMUnlock.h"

namespace {
constexpr QRgb kNoConnection = 0x3030F0;
constexpr QRgb kAsked = 0xFF0000;
constexpr QRgb kOnline = 0xD0D0D0;
// Tiles 1 and 2 of the 2 x 2 grid are darker, so that neighbours differ.
constexpr int kOffDiagonalDarker = 142;

QColor stateColour(int state)
{
    switch (state) {
    case ChannelView::Unknown:
    case ChannelView::Offline:
        return QColor(kNoConnection);
    case ChannelView::Asked:
        return QColor(kAsked);
    default:
        return QColor(kOnline);
    }
}

int mean(int a, int b)
{
    return (a + b) / 2;
}
} // namespace

ChannelView::ChannelView(int board, QWidget* parent)
    : QWidget(parent), number(board), base(palette().color(QPalette::Window))
{
    setObjectName(QStringLiteral("board%1").arg(board));
    setAutoFillBackground(true);
}

ChannelView::~ChannelView()
{
    qDebug("~ChannelView %d", number);
}

void ChannelView::setState(int state)
{
    shownState = state;
    QColor c = stateColour(state);
    if (state == Online && question)
        question->hide();
    if (number % 3 != 0)
        c = c.darker(kOffDiagonalDarker);
    const QColor tile(mean(base.red(), c.red()), mean(base.green(), c.green()),
                      mean(base.blue(), c.blue()), mean(base.alpha(), c.alpha()));
    QPalette look = palette();
    look.setBrush(QPalette::Window, QBrush(tile));
    setPalette(look);
}

// The lock record is copied under the board's own lock (lockRecord), so a
// lock reply the board thread handles meanwhile cannot tear it.
void ChannelView::askUnlock(FMBoard* board)
{
    setState(Asked);
    if (!board)
        return;
    if (!question) {
        question = new FMUnlock(this);
        question->setObjectName(QStringLiteral("unlock%1").arg(number));
        connect(question, &FMUnlock::unlock, board, &FMBoard::unlock);
    }
    const BoardInfo info = board->lastBoardInfo();
    const int box = info.number != 0 ? info.number : board->address().boxNumber();
    question->setText(board->lockRecord(), box);
    question->setEnabled(true);
    question->show();
}
